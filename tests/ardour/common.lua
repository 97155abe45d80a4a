-- Shared by the Ardour session scripts: expectations about the plug-in, checks that collect
-- failures, and the steps both scripts take. Loaded with dofile() by the scripts beside it.

local M = {}

M.classId = "ABCDEF019182FAEB4352564E56545052"
M.pluginName = "Veltrane Probe"
M.vendor = "Corvane"
M.mainTrack = "Probe"
M.sourceTrack = "Source"
M.sessionName = "probe"
M.sampleRate = 48000

-- The dummy backend's "DC -6dBFS (+.5)" device puts a constant 0.5 on every capture port.
M.inputLevelDb = 20 * math.log(0.5, 10)
M.levelToleranceDb = 0.05
-- The sidechain is fed 12 dB below the main input so that a plug-in passing the sidechain, or a
-- mix of both, shows up on the meter instead of hiding behind an equal level.
M.sidechainGainDb = -12

-- Host parameter order with the normalised (0..1) defaults.
M.parameters = {
    { name = "Scale X", default = 0.5 }, -- 0 dB of -36..36
    { name = "Scale Y", default = 0.5 },
    { name = "Latency X", default = 0.0 }, -- 0 of 0..512
    { name = "Latency Y", default = 0.0 },
    { name = "Smoothing", default = 49 / 99 }, -- 50 of 1..100
    { name = "Capture Algorithm", default = 1.0 }, -- "Mean", index 1 of 2
    { name = "Capture Length", default = 2 / 3 }, -- "64k", index 2 of 4
    { name = "Visualization Mode", default = 0.0 }, -- "tfunc", index 0 of 2
    { name = "Time Window", default = 0.5 }, -- "2k", index 2 of 5
}
M.valueTolerance = 1e-4

-- The two values the save-and-reopen round trip changes: Latency X to 128 samples and Capture
-- Algorithm to "ODR" (index 0).
M.changed = { [3] = 128 / 512, [6] = 0.0 }

local failures = 0

-- Ardour's print is buffered; flushing after each line keeps the output of a host that crashes.
function M.say(line)
    print(line)
    io.stdout:flush()
end

function M.ok(message)
    M.say("  ok    " .. message)
end

function M.check(condition, message)
    if condition then
        M.ok(message)
    else
        failures = failures + 1
        M.say("  FAIL  " .. message)
    end
    return condition
end

-- Stops the script at once with the clean failure code when nothing further can be checked.
function M.fatal(message)
    M.say("  FAIL  " .. message)
    os.exit(2)
end

-- Ends the script: exit code 2 when a check failed; otherwise the line that tells the calling
-- script that every check ran, so a script that stopped early cannot pass.
function M.finish()
    if failures > 0 then
        M.say(failures .. " check(s) failed")
        os.exit(2)
    end
    M.say("  all checks ran")
end

function M.near(a, b, tolerance)
    return a ~= nil and b ~= nil and math.abs(a - b) <= tolerance
end

function M.startEngine()
    -- The dummy backend needs no sound card, display or JACK; it is not listed but can be chosen.
    if AudioEngine:set_backend("None (Dummy)", "", "") == nil then
        M.fatal("the dummy audio backend could not be selected")
    end
    if AudioEngine:set_device_name("DC -6dBFS (+.5)") ~= 0 then
        M.fatal("the dummy backend's constant-level device could not be selected")
    end
end

-- Returns the plug-in's Ardour-side description, as read from the scanner's cache.
function M.findPluginInfo()
    for info in ARDOUR.LuaAPI.list_plugins():iter() do
        if info.type == ARDOUR.PluginType.VST3 and info.unique_id == M.classId then
            return info
        end
    end
    return nil
end

function M.pluginInsert(route)
    local proc = route:nth_plugin(0)
    if proc:isnil() then
        return nil
    end
    return proc
end

function M.parameterValue(proc, index)
    local value, refs = ARDOUR.LuaAPI.get_processor_param(proc, index, true)
    if not refs[3] then
        return nil
    end
    return value
end

-- Checks the parameter values against the defaults, overridden by `expected` where it has an entry.
function M.checkParameterValues(proc, expected, label)
    for i, parameter in ipairs(M.parameters) do
        local want = expected[i] or parameter.default
        local got = M.parameterValue(proc, i - 1)
        M.check(M.near(got, want, M.valueTolerance),
            string.format("%s: \"%s\" is %s (expected %.6f)", label, parameter.name, tostring(got), want))
    end
end

function M.setMonitoringToInput(track)
    track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput,
        PBD.GroupControlDisposition.NoGroup)
end

-- Peak level in dBFS of every channel of a track's meter over one fresh interval.
local function readLevelsOnce(tracks)
    for _, track in ipairs(tracks) do
        track:peak_meter():reset_max()
    end
    sleep(0.3)
    local levels = {}
    for _, track in ipairs(tracks) do
        local channels = {}
        for c = 0, track:n_outputs():n_audio() - 1 do
            channels[#channels + 1] = track:peak_meter():meter_level(c, ARDOUR.MeterType.MeterMaxPeak)
        end
        levels[track:name()] = channels
    end
    return levels
end

local function sameLevels(a, b)
    for name, channels in pairs(a) do
        for c, db in ipairs(channels) do
            if not M.near(db, b[name][c], 0.001) then
                return false
            end
        end
    end
    return true
end

-- Levels once two intervals in a row agree: gain changes ramp in and the engine takes a moment
-- to start, so the first interval may still hold a transition. Gives up after a few seconds and
-- returns the last reading.
function M.readLevels(tracks)
    local previous = readLevelsOnce(tracks)
    for _ = 1, 10 do
        local levels = readLevelsOnce(tracks)
        if sameLevels(levels, previous) then
            return levels
        end
        previous = levels
    end
    return previous
end

function M.checkLevels(levels, trackName, wantDb, label)
    local channels = levels[trackName]
    M.check(channels ~= nil and #channels == 2, string.format("%s: %s has two metered channels", label, trackName))
    for c, db in ipairs(channels or {}) do
        M.check(M.near(db, wantDb, M.levelToleranceDb),
            string.format("%s: %s channel %d reads %.3f dBFS (expected %.3f)", label, trackName, c, db, wantDb))
    end
end

-- The send on the source track that feeds the plug-in's sidechain, or nil.
function M.findSend(track)
    local i = 0
    while true do
        local proc = track:nth_send(i)
        if proc:isnil() then
            return nil
        end
        if not proc:to_send():isnil() then
            return proc
        end
        i = i + 1
    end
end

-- True when every sidechain port of the plug-in is connected to the matching output of the send.
function M.sidechainFedBy(insert, send)
    local sidechain = insert:sidechain_input()
    local outputs = send:to_send():output()
    if sidechain:isnil() or sidechain:n_ports():n_audio() ~= 2 or outputs:n_ports():n_audio() ~= 2 then
        return false
    end
    for c = 0, 1 do
        if not sidechain:audio(c):connected_to(outputs:audio(c):name()) then
            return false
        end
    end
    return true
end

return M

-- Shared by the Ardour session scripts: expectations about the plug-in, checks that collect
-- failures, and the steps both scripts take. Loaded with dofile() by the scripts beside it.

local M = {}

M.classId = "ABCDEF019182FAEB4352564E56545052"
M.lv2Uri = "https://corvane.audio/plugins/veltrane-probe"
-- The format under test, after the session folder on the command line: "VST3" (default) or "LV2".
M.format = arg[3] or "VST3"
M.isLv2 = M.format == "LV2"
if M.format ~= "VST3" and not M.isLv2 then
    print("  FAIL  unknown plug-in format " .. M.format)
    os.exit(2)
end
M.pluginType = M.isLv2 and ARDOUR.PluginType.LV2 or ARDOUR.PluginType.VST3
M.pluginId = M.isLv2 and M.lv2Uri or M.classId
-- Ardour files an LV2 plug-in under its class, a VST3 under its category.
M.category = M.isLv2 and "Analyser Plugin" or "Fx"
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

-- Host parameter order with the normalised (0..1) defaults, the identifier and the plain range
-- (an LV2 host sees each parameter as a property of that name with plain values).
M.parameters = {
    { name = "Scale X", id = "scaleX", default = 0.5, lower = -36, upper = 36 }, -- 0 dB
    { name = "Scale Y", id = "scaleY", default = 0.5, lower = -36, upper = 36 },
    { name = "Latency X", id = "latencyX", default = 0.0, lower = 0, upper = 512 }, -- 0 samples
    { name = "Latency Y", id = "latencyY", default = 0.0, lower = 0, upper = 512 },
    { name = "Smoothing", id = "smoothing", default = 49 / 99, lower = 1, upper = 100 }, -- 50
    { name = "Capture Algorithm", id = "captureAlgorithm", default = 1.0, lower = 0, upper = 1 }, -- "Mean"
    { name = "Capture Length", id = "captureLength", default = 2 / 3, lower = 0, upper = 3 }, -- "64k"
    { name = "Visualization Mode", id = "visualizationMode", default = 0.0, lower = 0, upper = 1 }, -- "tfunc"
    { name = "Time Window", id = "timeWindow", default = 0.5, lower = 0, upper = 4 }, -- "2k"
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
        if info.type == M.pluginType and info.unique_id == M.pluginId then
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

-- The control through which Ardour sets an LV2 parameter (the one-based `index` of M.parameters).
function M.propertyControl(proc, index)
    local name = "property-" .. M.lv2Uri .. ":" .. M.parameters[index].id
    local automatable = proc:to_automatable()
    for parameter in automatable:all_automatable_params():iter() do
        local control = automatable:automation_control(parameter, false)
        if not control:isnil() and control:name() == name then
            return control
        end
    end
    return nil
end

-- Sets a parameter to a normalised value, as a plain value for an LV2 property.
function M.setParameter(proc, index, normalised)
    if not M.isLv2 then
        ARDOUR.LuaAPI.set_processor_param(proc, index - 1, normalised)
        return
    end
    local parameter = M.parameters[index]
    local control = M.propertyControl(proc, index)
    if control == nil then
        M.fatal("Ardour has no control for the property " .. parameter.id)
    end
    control:set_value(parameter.lower + normalised * (parameter.upper - parameter.lower),
        PBD.GroupControlDisposition.NoGroup)
end

-- The nine LV2 properties, each with its plain range. Ardour shows no value of a property until
-- the plug-in sends one, so the values themselves are compared in the saved state
-- (scripts/test-ardour).
function M.checkProperties(proc, label)
    for i, parameter in ipairs(M.parameters) do
        local control = M.propertyControl(proc, i)
        M.check(control ~= nil and control:lower() == parameter.lower and control:upper() == parameter.upper,
            string.format("%s: the property \"%s\" has the range %s..%s", label, parameter.id,
                control and control:lower() or "?", control and control:upper() or "?"))
    end
end

-- Checks the parameter values against the defaults, overridden by `expected` where it has an entry.
function M.checkParameterValues(proc, expected, label)
    if M.isLv2 then
        M.checkProperties(proc, label)
        return
    end
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

-- Checks that Ardour describes the plug-in's first two audio inputs as the main input and the
-- other two as the sidechain.
function M.checkSidechainPorts(plugin, label)
    for i = 0, 3 do
        local port = plugin:describe_io_port(ARDOUR.DataType("audio"), true, i)
        local wanted = i >= 2
        M.check(port.is_sidechain == wanted, string.format("%s: Ardour describes audio input %d (\"%s\") as %s",
            label, i + 1, port.name, port.is_sidechain and "sidechain" or "main input"))
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

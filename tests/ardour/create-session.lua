-- First Ardour process: creates a session with the plug-in on a track, checks its parameters and
-- that audio passes through with the sidechain left open and with it fed from a second track,
-- changes two parameters and saves the session.
--
--   ardour7-lua create-session.lua SCRIPT_FOLDER SESSION_FOLDER
local t = dofile(arg[1] .. "/common.lua")
local sessionFolder = arg[2]

t.startEngine()
if create_session(sessionFolder, t.sessionName, t.sampleRate) == nil then
    t.fatal("Ardour could not create a session in " .. sessionFolder)
end

-- Reading the plug-in cache before a session exists crashes Ardour, so this comes after it.
local info = t.findPluginInfo()
if info == nil then
    t.fatal("Ardour's plug-in list has no " .. t.format .. " plug-in with the ID " .. t.pluginId)
end
t.check(info.name == t.pluginName, "the plug-in list names it \"" .. info.name .. "\"")
t.check(info.creator == t.vendor, "the plug-in list gives the vendor \"" .. info.creator .. "\"")
t.check(info.category == t.category, "the plug-in list gives the category \"" .. info.category .. "\"")
t.check(info.n_inputs:n_audio() == 4 and info.n_outputs:n_audio() == 2,
    string.format("the plug-in list counts %d audio inputs (main and sidechain) and %d outputs",
        info.n_inputs:n_audio(), info.n_outputs:n_audio()))

local function newStereoTrack(name)
    local tracks = Session:new_audio_track(2, 2, nil, 1, name, ARDOUR.PresentationInfo.max_order,
        ARDOUR.TrackMode.Normal, true)
    if tracks:size() ~= 1 then
        t.fatal("Ardour could not create the track " .. name)
    end
    return tracks:front()
end

local main = newStereoTrack(t.mainTrack)
local source = newStereoTrack(t.sourceTrack)
-- The source track's trim sets the sidechain level; it ramps in, so it is set well before any
-- measurement.
source:trim_control():set_value(ARDOUR.DSP.dB_to_coefficient(t.sidechainGainDb), PBD.GroupControlDisposition.NoGroup)
t.setMonitoringToInput(main)
t.setMonitoringToInput(source)

local proc = ARDOUR.LuaAPI.new_plugin(Session, t.pluginId, t.pluginType, "")
if proc:isnil() then
    t.fatal("Ardour could not instantiate the plug-in")
end
if main:add_processor_by_index(proc, 0, nil, true) ~= 0 then
    t.fatal("Ardour could not add the plug-in to the track")
end
t.ok("the plug-in is instantiated on the track \"" .. t.mainTrack .. "\"")
local insert = proc:to_insert()
local plugin = insert:plugin(0)

-- Parameters: the nine in order, then at most the host bypass that the framework's wrapper adds.
-- An LV2 host sees them as properties instead (checkParameterValues).
if not t.isLv2 then
    local count = plugin:parameter_count()
    local names = {}
    for i = 0, count - 1 do
        local _, pd = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
        names[#names + 1] = string.format("%d \"%s\"%s", i, plugin:parameter_label(i), pd[2].toggled and " (toggle)" or "")
    end
    t.say("  Ardour's parameters: " .. table.concat(names, ", "))
    t.check(count == #t.parameters or (count == #t.parameters + 1 and plugin:parameter_label(count - 1) == "Bypass"),
        string.format("the plug-in shows %d parameters: the nine of the plug-in and at most the host bypass", count))
    for i, parameter in ipairs(t.parameters) do
        local label = i <= count and plugin:parameter_label(i - 1) or "(missing)"
        t.check(label == parameter.name, string.format("parameter %d is \"%s\" (expected \"%s\")", i - 1, label, parameter.name))
    end
end
t.checkParameterValues(proc, {}, "new instance")

-- Pass-through with no sidechain bus at all, then with the sidechain added but left open.
local levels = t.readLevels({ main, source })
t.checkLevels(levels, t.sourceTrack, t.inputLevelDb + t.sidechainGainDb, "no sidechain")
t.checkLevels(levels, t.mainTrack, t.inputLevelDb, "no sidechain")

if not main:add_sidechain(proc) or not insert:has_sidechain() then
    t.fatal("Ardour could not add a sidechain input to the plug-in")
end
local sidechain = insert:sidechain_input()
t.check(sidechain:n_ports():n_audio() == 2,
    string.format("the sidechain input has %d audio ports", sidechain:n_ports():n_audio()))
t.checkSidechainPorts(plugin, "sidechain open")
t.checkLevels(t.readLevels({ main }), t.mainTrack, t.inputLevelDb, "sidechain open")

-- Feed the sidechain from the second track, before its fader.
local send = ARDOUR.LuaAPI.new_send(Session, source, source:amp())
if send:isnil() then
    t.fatal("Ardour could not add a send to the track " .. t.sourceTrack)
end
local outputs = send:to_send():output()
for c = 0, math.min(outputs:n_ports():n_audio(), sidechain:n_ports():n_audio()) - 1 do
    outputs:audio(c):connect(sidechain:audio(c):name())
end
t.check(t.sidechainFedBy(insert, send), "the send of \"" .. t.sourceTrack .. "\" is connected to the sidechain")
levels = t.readLevels({ main, source })
t.checkLevels(levels, t.sourceTrack, t.inputLevelDb + t.sidechainGainDb, "sidechain connected")
t.checkLevels(levels, t.mainTrack, t.inputLevelDb, "sidechain connected")

-- Change two parameters, then save; the second script checks them in a fresh process. An LV2
-- plug-in's state is saved first with the defaults too, for scripts/test-ardour to compare.
if t.isLv2 and Session:save_state("defaults", false, false, false, false, false) ~= 0 then
    t.fatal("Ardour could not save the snapshot with the defaults")
end
for index, value in pairs(t.changed) do
    t.setParameter(proc, index, value)
end
t.checkParameterValues(proc, t.changed, "after the change")
t.checkLevels(t.readLevels({ main }), t.mainTrack, t.inputLevelDb, "after the change")

if Session:save_state("", false, false, false, false, false) ~= 0 then
    t.fatal("Ardour could not save the session")
end
t.ok("the session is saved")
close_session()
t.finish()

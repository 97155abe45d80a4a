-- Second Ardour process: opens the saved session and checks that the plug-in, its two changed
-- parameters and its sidechain connection are back, and that audio still passes through.
--
--   ardour7-lua reopen-session.lua SCRIPT_FOLDER SESSION_FOLDER
local t = dofile(arg[1] .. "/common.lua")
local sessionFolder = arg[2]

t.startEngine()
if load_session(sessionFolder, t.sessionName) == nil then
    t.fatal("Ardour could not open the saved session in " .. sessionFolder)
end
t.ok("the saved session is open")

local main = Session:route_by_name(t.mainTrack)
local source = Session:route_by_name(t.sourceTrack)
if main:isnil() or source:isnil() then
    t.fatal("the session lost a track")
end

local proc = t.pluginInsert(main)
if proc == nil then
    t.fatal("the track \"" .. t.mainTrack .. "\" has no plug-in after reopening")
end
local insert = proc:to_insert()
local info = insert:plugin(0):get_info()
if info.unique_id ~= t.pluginId then
    t.fatal("the plug-in on the track is " .. info.name .. " (" .. info.unique_id .. ")")
end
t.check(info.name == t.pluginName, "the plug-in \"" .. info.name .. "\" is back on its track")
t.checkParameterValues(proc, t.changed, "reopened")
t.checkSidechainPorts(insert:plugin(0), "reopened")

local send = t.findSend(source)
t.check(send ~= nil and insert:has_sidechain() and t.sidechainFedBy(insert, send),
    "the sidechain is back and fed from \"" .. t.sourceTrack .. "\"")

t.setMonitoringToInput(main)
t.setMonitoringToInput(source)
local levels = t.readLevels({ main, source })
t.checkLevels(levels, t.sourceTrack, t.inputLevelDb + t.sidechainGainDb, "reopened")
t.checkLevels(levels, t.mainTrack, t.inputLevelDb, "reopened")

-- The plug-in's state as it stands after reopening, for scripts/test-ardour to compare with the
-- saved one: Ardour shows no values of an LV2 plug-in's properties.
if t.isLv2 and Session:save_state("reopened", false, false, false, false, false) ~= 0 then
    t.fatal("Ardour could not save the reopened state")
end
close_session()
t.finish()

-- Call-overhead scene: COUNT calls of a cheap script function in a Lua loop.
--   vorlune calls.lua boxcoll|len [COUNT]
-- The call-overhead floor runs this same file in a bare Lua state whose
-- boxcoll and len are minimal C functions.
local args = {}
for word in arguments():gmatch("%S+") do args[#args + 1] = word end
local which = args[3] or "boxcoll"
local count = tonumber(args[4]) or 10000000

local boxcoll, len, clock = boxcoll, len, os.clock
local hits = 0
local start = clock()
if which == "boxcoll" then
  for i = 1, count do
    if boxcoll(i % 50, 2, 30, 40, 25, 6, 30, 40) then hits = hits + 1 end
  end
else
  local s = "vorlune"
  for i = 1, count do hits = hits + len(s) end
end
local seconds = math.max(clock() - start, 1e-6)
print(string.format("RESULT cps %.0f calls %d s %.3f hits %d", count / seconds, count, seconds, hits))

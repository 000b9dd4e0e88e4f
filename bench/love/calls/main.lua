-- Call-overhead scene (peer): the same loop as the interpreter's, with the
-- two functions written in Lua (LÖVE has no boxcoll or len of its own) and
-- run by LuaJIT, which compiles the loop.
--   love calls boxcoll|len [COUNT]
local function boxcoll(x1, y1, w1, h1, x2, y2, w2, h2)
  return x2 + w2 >= x1 and x1 + w1 >= x2 and y2 + h2 >= y1 and y1 + h1 >= y2
end
local len = string.len

function love.run()
  local args = love.arg.parseGameArguments(arg)
  local which = args[1] or "boxcoll"
  local count = tonumber(args[2]) or 10000000
  return function()
    local clock = os.clock
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
    io.write(string.format("RESULT cps %.0f calls %d s %.3f hits %d\n", count / seconds, count, seconds, hits))
    io.flush()
    return 0
  end
end

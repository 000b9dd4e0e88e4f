-- Primitives scene: N filled circles of radius 20 and N lines per frame.
--   vorlune primitives.lua N [budget_ms [fixed_frames]]
-- Draws one warm-up frame, then frames until budget_ms have passed (or exactly
-- fixed_frames frames), and prints the measured frame rate.
local args = {}
for word in arguments():gmatch("%S+") do args[#args + 1] = word end
local n = tonumber(args[3]) or 100
local budget = tonumber(args[4]) or 1000
local fixed = tonumber(args[5]) or 0

local win = openwindow("primitives", -1, -1, 640, 480)
setactivewindow(win)

local cls, color, fillcircle, line, redraw = cls, color, fillcircle, line, redraw
local function frame(f, n)
  cls()
  color(255, 200, 0, 255)
  for i = 0, n - 1 do
    fillcircle((i * 37 + f) % 600 + 20, (i * 53) % 440 + 20, 20)
  end
  color(0, 200, 255, 255)
  for i = 0, n - 1 do
    line((i * 29 + f) % 640, (i * 31) % 480, (i * 17) % 640, (i * 43 + f) % 480)
  end
  redraw()
end

frame(0, math.min(n, 1000))  -- warm-up: readies textures and shaders
local start = timerticks()
local frames, elapsed = 0, 0
repeat
  frames = frames + 1
  frame(frames, n)
  elapsed = timerticks() - start
until (fixed > 0 and frames >= fixed) or (fixed <= 0 and elapsed >= budget)
print(string.format("RESULT fps %.3f frames %d ms %d", frames * 1000 / math.max(elapsed, 1), frames, elapsed))

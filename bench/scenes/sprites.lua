-- Sprite scene: N rotated and scaled copies of one 32x32 sprite per frame.
--   vorlune sprites.lua N [budget_ms [fixed_frames]]
-- Draws one warm-up frame, then frames until budget_ms have passed (or exactly
-- fixed_frames frames), and prints the measured frame rate.
local args = {}
for word in arguments():gmatch("%S+") do args[#args + 1] = word end
local n = tonumber(args[3]) or 1000
local budget = tonumber(args[4]) or 1000
local fixed = tonumber(args[5]) or 0

local win = openwindow("sprites", -1, -1, 640, 480)
setactivewindow(win)
local sprite = loadsprite("sprite.png")

local cls, drawsprite, redraw = cls, drawsprite, redraw
local function frame(f, n)
  cls()
  for i = 0, n - 1 do
    local scale = 0.75 + (i % 5) * 0.125
    drawsprite(sprite, (i * 37 + f * 3) % 608, (i * 53 + f * 2) % 448, scale, scale, (i * 7 + f * 5) % 360, false, false)
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

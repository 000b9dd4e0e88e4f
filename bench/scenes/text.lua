-- Text scene: the whole 640x480 window filled with built-in glyphs at text
-- size S (80x60 glyphs at size 1, 40x30 at size 2), one drawtext per line.
--   vorlune text.lua S [budget_ms [fixed_frames]]
-- Draws one warm-up frame, then frames until budget_ms have passed (or exactly
-- fixed_frames frames), and prints the measured frame rate.
local args = {}
for word in arguments():gmatch("%S+") do args[#args + 1] = word end
local s = tonumber(args[3]) or 1
local budget = tonumber(args[4]) or 1000
local fixed = tonumber(args[5]) or 0

local win = openwindow("text", -1, -1, 640, 480)
setactivewindow(win)
textsize(s)
local cols, rows = 640 / (8 * s), 480 / (8 * s)
-- The 95 printable characters, twice, so that every line is a substring.
local chars = {}
for k = 0, 2 * 95 + cols - 1 do chars[#chars + 1] = string.char(32 + k % 95) end
local pattern = table.concat(chars)

local cls, color, drawtext, redraw, sub = cls, color, drawtext, redraw, string.sub
local function frame(f)
  cls()
  color(255, 255, 255, 255)
  for r = 0, rows - 1 do
    local first = (r * 7 + f) % 95 + 1
    drawtext(sub(pattern, first, first + cols - 1), 0, r * 8 * s)
  end
  redraw()
end

frame(0)
local start = timerticks()
local frames, elapsed = 0, 0
repeat
  frames = frames + 1
  frame(frames)
  elapsed = timerticks() - start
until (fixed > 0 and frames >= fixed) or (fixed <= 0 and elapsed >= budget)
print(string.format("RESULT fps %.3f frames %d ms %d", frames * 1000 / math.max(elapsed, 1), frames, elapsed))

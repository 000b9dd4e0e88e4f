-- Draws glyphs 1..255 of the built-in font in white on black along the top
-- row of a 2048x8 window; run with the dummy driver saving frames, the saved
-- frame gives the floor and LÖVE programs the same glyph pixels.
local win = openwindow("font", -1, -1, 2048, 8)
setactivewindow(win)
cls()
color(255, 255, 255, 255)
local chars = {}
for c = 1, 255 do chars[#chars + 1] = string.char(c) end
drawtext(table.concat(chars), 8, 0)
redraw()

-- bmpfont.lua: a little bay drawn from a tileset, a wobbling title in a
-- bitmap font, and a guest book signed with the bitmap-font line editor.
-- Return opens the guest book, Escape (or closing the window) ends the demo;
-- left alone it ends after fifteen seconds.
--
-- assets/font16.png (ASCII 32..126, sixteen 16x16 tiles a row) and
-- assets/tiles16.png (nine 16x16 map tiles) were drawn by
-- tools/make_bmpfont_sheets.py.

local W, H = 640, 480
local window = openwindow("Bitmap fonts: Return to sign the guest book, Escape to quit", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)

local keys = require("vorlune.keys")  -- scancodes by name

-- The fontface names the tiles in reading order: here every printable
-- ASCII character, starting with the space.
local chars = {}
for code = 32, 126 do chars[#chars + 1] = string.char(code) end
local FACE = table.concat(chars)

local fontSheet = loadsprite("assets/font16.png")
local font = createbmpfont(fontSheet, 16, 16, FACE)
local title = createbmpfont(fontSheet, 16, 16, FACE)  -- same tiles, drawn twice as large
bmpfontsize(title, 2, 2)
bmpinputcolor(font, 255, 200, 60, 255)
bmpinputbackcolor(font, 24, 18, 48, 255)

-- Map tiles: grass, water, wall, sand, tree, flowers, bridge, rock. The
-- second tileset lists the water character once more at the end, naming the
-- ninth tile (the second water frame): the last occurrence wins.
local tileSheet = loadsprite("assets/tiles16.png")
local waterA = tileset(tileSheet, 16, 16, ".~#:T*=o")
local waterB = tileset(tileSheet, 16, 16, ".~#:T*=o~")
bmpfontsize(waterA, 2, 2)
bmpfontsize(waterB, 2, 2)

local map = {
  "~~~~~~~~~~~~~~~~~~~~",
  "~~~~~~~~~~~~~~~~~~~~",
  "~~~~~~~~~~~~~~~~~~~~",
  "~~~::::~~~~~~::::~~~",
  ":::::..:~~:::::..:::",
  "...T....~~....*..T..",
  ".T..*...~~..###....T",
  "....o...==..#:#..*..",
  "..*.....~~..###.....",
  "T....T..~~.....o..T.",
  ".*......~~..T.....*.",
  "...T..o.~~......*...",
}
local CELL = bmpfontwidth(waterA)
local PANEL = #map * bmpfontheight(waterA)

local function centred(text, f, y)
  bmptext(text, math.floor((W - #text * bmpfontwidth(f)) / 2), y, f)
end

local guest = nil
local idleSince = timerticks()

while true do
  local key = getkey()
  if key == keys.escape then break end
  if timerticks() - idleSince > 15000 then break end
  local t = (timerticks() % 100000) / 1000

  -- The map, one drawtile per row; the water swaps frames twice a second.
  local tiles = math.floor(t * 2) % 2 == 0 and waterA or waterB
  for row, line in ipairs(map) do
    drawtile(line, 0, (row - 1) * CELL, tiles)
  end

  -- The title: every letter tilts about its own centre.
  bmpfontangle(title, 12 * math.sin(t * 3))
  centred("VORLUNE BAY", title, 24)

  -- The panel below the map.
  color(24, 18, 48, 255)
  fillrectangle(0, PANEL, W, H - PANEL)
  if guest then
    centred("Welcome to the bay,", font, PANEL + 20)
    centred(guest .. "!", font, PANEL + 52)
  else
    centred("Return: sign the guest book", font, PANEL + 20)
    local left = math.ceil((15000 - (timerticks() - idleSince)) / 1000)
    centred("Escape: leave (or wait " .. left .. " s)", font, PANEL + 52)
  end

  if key == keys.return_ then
    -- bmpinput draws and presents on its own until Return, Enter or Escape.
    fillrectangle(0, PANEL, W, H - PANEL)
    bmptext("Your name:", 16, PANEL + 36, font)
    local name = bmpinput(16 + 11 * bmpfontwidth(font), PANEL + 36, 24, font)
    if name ~= "" then guest = name end
    idleSince = timerticks()
  end
  sync()
end

freesprite(tileSheet)
freesprite(fontSheet)
closewindow(window)

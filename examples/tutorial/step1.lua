-- Tutorial step 1: a window and a main loop. Escape, or closing the window,
-- ends the program.
local W, H = 640, 480
local window = openwindow("Tutorial: step 1", -1, -1, W, H)  -- -1, -1: centred
setactivewindow(window)                                      -- draw into it from now on
setframetimer(60)                                            -- a frame period of 16 ms
backcolor(12, 14, 32, 255)                                   -- what cls clears to

local keys = require("vorlune.keys")  -- scancodes by name

while true do
  if getkey() == keys.escape then break end                   -- getkey also notices a closed window
  cls()                                                      -- clear the frame
  color(255, 255, 255, 255)                                  -- cls leaves its own colour selected
  drawtext("Hello! Press Escape to quit.", 10, 10)
  sync()                                                     -- show the frame, pace the loop
end

closewindow(window)

-- Start-up scene: open a 640x480 window, draw one frame, present it, end.
local win = openwindow("start-up", -1, -1, 640, 480)
setactivewindow(win)
cls()
color(255, 200, 0, 255)
fillrectangle(100, 100, 200, 150)
redraw()

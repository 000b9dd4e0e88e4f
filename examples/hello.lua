-- hello.lua: opens a centred 640x480 window, keeps it up a few seconds, ends.
local window = openwindow("Hello from Vorlune", -1, -1, 640, 480)
setactivewindow(window)
redraw()
wait(3000)

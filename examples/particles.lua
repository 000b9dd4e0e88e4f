-- particles.lua: a fountain of stars from a streaming emitter, a trail of
-- sparks that follows the mouse pointer, and simple-particle explosions that
-- go off on a timer, on the space bar or on a mouse click.
-- Ends after twelve seconds, or on Escape.
local W, H = 640, 480
local window = openwindow("Particles: space or click for a bang, Escape to quit", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)
backcolor(6, 8, 24, 255)

-- assets/star.bmp is a star on magenta; the colour key makes the magenta transparent.
local starImage = loadimage("assets/star.bmp")
local star = createsprite(starImage)
freeimage(starImage)

local keys = require("vorlune.keys")  -- scancodes by name

-- The fountain: 81 particles at a time, living up to 1.6 s (or 1600 pixels),
-- thrown upwards within 25 degrees either side of straight up at up to 7
-- pixels per frame, each waiting up to 40 frames before it starts.
local fountain = createemitter(80, 1600, true)
createparticles(fountain, W / 2 - 8, H - 40, 50, -25, 7, 40)

-- The trail: a small streaming emitter drawn around the moving pointer;
-- its sparks die 60 pixels away from it.
local trail = createemitter(24, 60, true)
createparticles(trail, W / 2, H / 2, 360, 0, 2, 8)

-- Explosions: filled circles of random size by default; the shape changes
-- with every bang.
local shapes = { "fillcircle", "circle", "fillbox", "dot", "box" }
local bangs = 0
local function bang(x, y)
  bangs = bangs + 1
  setsimpleparticletype(shapes[(bangs - 1) % #shapes + 1])
  setsimpleparticlesize(3, "random")
  local r = 128 + int(rnd() * 128)
  createsimpleparticles(x, y, 80, 90, r, int(rnd() * 200), 255 - r, 255)
  createsimpleparticles(x, y, 40, 45, 255, 255, 255, 160)
end

local start = timerticks()
local nextBang = 0
local held = false
while true do
  local now = timerticks() - start
  if now >= 12000 then break end

  local key = getkey()
  if key == keys.escape then break end
  if key == keys.space then bang(int(rnd() * W), int(rnd() * H / 2)) end
  local down = mousebutton() ~= 0
  if down and not held then bang(mousex(), mousey()) end
  held = down
  if now >= nextBang then
    bang(80 + int(rnd() * (W - 160)), 60 + int(rnd() * 200))
    nextBang = now + 500
  end

  updateparticles()

  cls()
  spritecolor(star, 255, 220, 120, 255)
  drawparticles(fountain, star, 1, 1, 0, false, false)
  spritecolor(star, 140, 200, 255, 200)
  drawmovingparticles(trail, star, mousex() - 4, mousey() - 4, 0.5, 0.5, 0, false, false, 360, 0)
  updatesimpleparticles()

  color(200, 210, 240, 255)
  drawtext("space or click: bang   escape: quit   " .. math.ceil((12000 - now) / 1000) .. " s", 10, 10)
  sync()
end

freeemitter(fountain)
freeemitter(trail)
resetsimpleparticles()
freesprite(star)
closewindow(window)

-- hello.lua: a small animated scene drawn with the primitives and the
-- built-in font. A planet circles a sun whose rays turn, stars drift past,
-- a kite bobs in the corner. Ends after eight seconds or on any key.
local W, H = 640, 480
local window = openwindow("Hello from Vorlune", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)
backcolor(8, 10, 32, 255)

local floor, sin, cos, pi = math.floor, math.sin, math.cos, math.pi

-- A fixed field of stars: position and speed.
local stars = {}
for i = 1, 120 do
  stars[i] = { x = (i * 97) % W, y = (i * 61) % 300, speed = 1 + i % 3 }
end

local start = timerticks()
local duration = 8000

while true do
  local now = timerticks() - start
  if now >= duration then break end
  local t = now / 1000

  cls()

  -- Stars drifting left, brighter when faster.
  for _, s in ipairs(stars) do
    s.x = s.x - s.speed
    if s.x < 0 then s.x = s.x + W end
    local shade = 90 + 55 * s.speed
    color(shade, shade, shade, 255)
    dot(s.x, s.y)
  end

  -- Ground: a filled triangle range of hills and a frame around the scene.
  color(20, 60, 30, 255)
  filltriangle(0, H, 220, 330, 440, H)
  color(30, 80, 40, 255)
  filltriangle(260, H, 500, 350, 700, H)
  color(200, 200, 220, 255)
  rectangle(4, 4, W - 8, H - 8)

  -- The sun with turning rays and a translucent halo.
  local cx, cy = 320, 200
  color(255, 190, 70, 70)
  fillellipse(cx, cy, 70, 62)
  color(255, 210, 80, 255)
  for k = 0, 11 do
    local a = t * 0.8 + k * pi / 6
    line(cx + floor(48 * cos(a)), cy + floor(48 * sin(a)), cx + floor(62 * cos(a)), cy + floor(62 * sin(a)))
  end
  color(255, 230, 120, 255)
  fillcircle(cx, cy, 36)

  -- The orbit and the planet on it, with its shadowed side.
  color(120, 140, 200, 255)
  ellipse(cx, cy, 200, 90)
  local px, py = cx + floor(200 * cos(t)), cy + floor(90 * sin(t))
  color(70, 130, 230, 255)
  fillcircle(px, py, 14)
  color(0, 0, 0, 110)
  fillcircle(px + 5, py + 3, 11)
  color(220, 230, 255, 255)
  circle(px, py, 17)

  -- A kite bobbing in the corner.
  local ky = 90 + floor(12 * sin(t * 2.3))
  color(230, 80, 90, 255)
  filltriangle(560, ky - 30, 585, ky, 560, ky + 40)
  color(250, 120, 120, 255)
  filltriangle(560, ky - 30, 535, ky, 560, ky + 40)
  color(240, 240, 240, 255)
  triangle(560, ky - 30, 585, ky, 535, ky)
  line(560, ky + 40, 520 + floor(8 * sin(t * 3)), ky + 110)

  -- Text: a title in large letters with a shadow, and a status line.
  textsize(3)
  color(0, 0, 0, 160)
  drawtext("Hello from Vorlune", 324 - floor(textwidth("Hello from Vorlune") / 2), 402)
  color(255, 255, 255, 255)
  drawtext("Hello from Vorlune", 320 - floor(textwidth("Hello from Vorlune") / 2), 398)
  textsize(1)
  color(180, 190, 220, 255)
  local left = math.ceil((duration - now) / 1000)
  local status = "press any key or wait " .. left .. " s"
  drawtext(status, 320 - floor(textwidth(status) / 2), 440)

  sync()
  if getkey() ~= 0 then break end
end

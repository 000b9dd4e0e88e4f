#include "script/script_api.hpp"

#include "audio/audio.hpp"
#include "game/animation.hpp"
#include "game/collision.hpp"
#include "game/emitter.hpp"
#include "game/simple_particles.hpp"
#include "graphics/bitmap_font.hpp"
#include "graphics/draw.hpp"
#include "graphics/frame.hpp"
#include "graphics/text.hpp"
#include "graphics/sprite.hpp"
#include "graphics/window.hpp"
#include "system/files.hpp"
#include "system/process.hpp"
#include "core/paths.hpp"
#include "input/input.hpp"
#include "util/numbers.hpp"
#include "util/strings.hpp"

namespace vorlune::script {
namespace {

// name, usage message (empty for functions without parameters) and engine
// function; the function's signature gives the argument count and kinds.
constexpr ApiEntry kScriptApi[] = {
    Row<"Usage: openwindow (caption,x,y,w,h", graphics::OpenWindow>("openwindow"),
    Row<"Usage: setactivewindow (window)", graphics::SetActiveWindow>("setactivewindow"),
    Row<"", graphics::CloseApplication>("closeapplication"),
    Row<"Usage: wait (ms)", graphics::Wait>("wait"),
    Row<"Usage: color (r,g,b,alpha)", graphics::Color>("color"),
    Row<"", graphics::Redraw>("redraw"),
    Row<"Usage: circle (x,y,radius)", graphics::Circle>("circle"),
    Row<"", graphics::ClearWindow>("clearwindow"),
    Row<"", graphics::ClearWindow>("cls"),
    Row<"Usage: closewindow (window)", graphics::CloseWindow>("closewindow"),
    Row<"Usage: backcolor (r,g,b,alpha)", graphics::BackColor>("backcolor"),
    Row<"", input::Inkey>("inkey"),
    Row<"Usage: dot (x,y)", graphics::Dot>("dot"),
    Row<"Usage: line (x1,y1,x2,y2)", graphics::Line>("line"),
    Row<"", input::GetKey>("getkey"),
    Row<"Usage: fillcircle (x,y,radius)", graphics::FillCircle>("fillcircle"),
    Row<"", input::MouseX>("mousex"),
    Row<"", input::MouseY>("mousey"),
    Row<"", input::MouseButton>("mousebutton"),
    Row<"Usage: ellipse (x,y,xradius,yradius)", graphics::Ellipse>("ellipse"),
    Row<"Usage: fillellipse (x,y,xradius,yradius)", graphics::FillEllipse>("fillellipse"),
    Row<"Usage: loadimage (filename)", graphics::LoadImage>("loadimage"),
    Row<"", input::MouseHide>("mousehide"),
    Row<"", input::MouseShow>("mouseshow"),
    Row<"Usage: keystate (scancode)", input::KeyState>("keystate"),
    Row<"", graphics::TimeLeft>("timeleft"),
    Row<"Usage: setframetimer (frames)", graphics::SetFrameTimer>("setframetimer"),
    Row<"Usage: colorkey (r,g,b)", graphics::ColorKey>("colorkey"),
    Row<"Usage: loadsound (filename)", audio::LoadSound>("loadsound"),
    Row<"Usage: playsound (sound,volume,channel,loop)", audio::PlaySound>("playsound"),
    Row<"Usage: drawtext (text,x,y)", graphics::DrawText>("drawtext"),
    Row<"Usage: mousezone (x1,y1,x2,y2)", input::MouseZone>("mousezone"),
    Row<"Usage: loadmusic (filename)", audio::LoadMusic>("loadmusic"),
    Row<"Usage: playmusic (sound,volume,loop)", audio::PlayMusic>("playmusic"),
    Row<"", audio::PauseMusic>("pausemusic"),
    Row<"", audio::ResumeMusic>("resumemusic"),
    Row<"", graphics::ToggleFullscreen>("togglefullscreen"),
    Row<"Usage: spritewidth (sprite)", graphics::SpriteWidth>("spritewidth"),
    Row<"Usage: spriteheight (sprite)", graphics::SpriteHeight>("spriteheight"),
    Row<"", graphics::NoColorKey>("nocolorkey"),
    Row<"", graphics::TimerTicks>("timerticks"),
    Row<"", system::OsType>("ostype"),
    Row<"", input::JoystickPlugged>("joystickplugged"),
    Row<"", input::GetJoyX>("getjoyx"),
    Row<"", input::GetJoyY>("getjoyy"),
    Row<"Usage: getjoybutton (button)", input::GetJoyButton>("getjoybutton"),
    Row<"", input::NumberJoyButtons>("numberjoybuttons"),
    Row<"Usage: setcaption (caption)", graphics::SetCaption>("setcaption"),
    Row<"Usage: triangle (x1,y1,x2,y2,x3,y3)", graphics::Triangle>("triangle"),
    Row<"Usage: filltriangle (x1,y1,x2,y2,x3,y3)", graphics::FillTriangle>("filltriangle"),
    Row<"Usage: boxcoll (x1,y1,w1,h1,x2,y2,w2,h2)", game::BoxColl>("boxcoll"),
    Row<"", util::Rnd>("rnd"),
    Row<"Usage: int (number)", util::Int>("int"),
    Row<"Usage: chr (ascii)", util::Chr>("chr"),
    Row<"Usage: asc (char)", util::Asc>("asc"),
    Row<"Usage: val (string)", util::Val>("val"),
    Row<"Usage: left (string,length)", util::Left>("left"),
    Row<"Usage: right (string,length)", util::Right>("right"),
    Row<"Usage: mid (string,start,length)", util::Mid>("mid"),
    Row<"Usage: insert (string1,string2,start)", util::Insert>("insert"),
    Row<"Usage: len (string)", util::Len>("len"),
    Row<"", util::Time>("time"),
    Row<"", util::Date>("date"),
    Row<"Usage: uppercase (string)", util::Uppercase>("uppercase"),
    Row<"Usage: lowercase (string)", util::Lowercase>("lowercase"),
    Row<"Usage: input (x,y,maxlength)", graphics::Input>("input"),
    Row<"Usage: resizewindow (x,y)", graphics::ResizeWindow>("resizewindow"),
    Row<"", system::Arguments>("arguments"),
    Row<"Usage: freeimage (image)", graphics::FreeImage>("freeimage"),
    Row<"", graphics::WindowWidth>("windowwidth"),
    Row<"", graphics::WindowHeight>("windowheight"),
    Row<"Usage: bmptext (textstr,x,y,fontnumber)", graphics::BmpText>("bmptext"),
    Row<"Usage: bmpinput (x,y,maxlen,fontnumber)", graphics::BmpInput>("bmpinput"),
    Row<"Usage: createbmpfont (sprite,tilewidth,tileheight,fontface)", graphics::CreateBmpFont>("createbmpfont"),
    Row<"Usage: sqrt (number)", util::Sqrt>("sqrt"),
    Row<"Usage: abc (number)", util::Abs>("abs"),
    Row<"Usage: cos (number)", util::Cos>("cos"),
    Row<"Usage: sin (number)", util::Sin>("sin"),
    Row<"Usage: exp (number)", util::Exp>("exp"),
    Row<"Usage: floor (number)", util::Floor>("floor"),
    Row<"Usage: ceil (number)", util::Ceil>("ceil"),
    Row<"Usage: imagecoll (SpriteA,ax,ay,SpriteB,bx,by)", game::ImageColl>("imagecoll"),
    Row<"Usage: circlecoll (x1,y1,r1,x2,y2,r2,offset)", game::CircleColl>("circlecoll"),
    Row<"Usage: collision=roundcoll (SpriteA,ax,ay,SpriteB,bx,by,offset)", game::RoundColl>("roundcoll"),
    Row<"Usage: sidecoll (x,y,w,h,dx,dy, rx, ry, rw, rh)", game::SideColl>("sidecoll"),
    Row<"Usage: circletoboxcoll (cx,cy,r,x1,y1,w,h)", game::CircleToBoxColl>("circletoboxcoll"),
    Row<"Usage: linecoll (a1x,a1y,a2x,a2y,b1x,b1y,b2x,b2y)", game::LineColl>("linecoll"),
    Row<"Usage: linetocirclecoll (LineX1,LineY1,LineX2,LineY2, CircleX,CircleY,CircleRadius)", game::LineToCircleColl>("linetocirclecoll"),
    Row<"", graphics::Sync>("sync"),
    Row<"Usage: open (file, \"r/w/a\")", system::Open>("open"),
    Row<"Usage: close (file)", system::Close>("close"),
    Row<"Usage: finput (file)", system::FInput>("finput"),
    Row<"Usage: eof (file)", system::Eof>("eof"),
    Row<"Usage: eoln (file)", system::Eoln>("eoln"),
    Row<"Usage: fprint (file, text)", system::FPrint>("fprint"),
    Row<"Usage: fileexists (file)", core::FileExists>("fileexists"),
    Row<"Usage: directoryexists (directory)", core::DirectoryExists>("directoryexists"),
    Row<"Usage: makedir (dirname)", system::MakeDir>("makedir"),
    Row<"Usage: removedir (dirname)", system::RemoveDir>("removedir"),
    Row<"Usage: changedir (dirname)", system::ChangeDir>("changedir"),
    Row<"Usage: deletefile (filename)", system::DeleteFile>("deletefile"),
    Row<"Usage: system (filename)", system::System>("system"),
    Row<"Usage: insidetriangle (px,py,x1,y1,x2,y2,x3,y3)", game::InsideTriangle>("insidetriangle"),
    Row<"Usage: insiderectangle (px,py,x1,y1,x2,y2)", game::InsideRectangle>("insiderectangle"),
    Row<"Usage: insidecircle (px,py,cx,cy,radius)", game::InsideCircle>("insidecircle"),
    Row<"Usage: drawtile (textstr,x,y,tileset)", graphics::DrawTile>("drawtile"),
    Row<"Usage: tileset (image,tilewidth,tileheight,fontface)", graphics::TileSet>("tileset"),
    Row<"Usage: warpmouse (mx,my)", input::WarpMouse>("warpmouse"),
    Row<"Usage: bmpfontheight (fontnumber)", graphics::BmpFontHeight>("bmpfontheight"),
    Row<"Usage: bmpfontwidth (fontnumber)", graphics::BmpFontWidth>("bmpfontwidth"),
    Row<"Usage: rectangle (x,y,w,h)", graphics::Rectangle>("rectangle"),
    Row<"Usage: fillrectangle (x,y,w,h)", graphics::FillRectangle>("fillrectangle"),
    Row<"Usage: round (number)", util::Round>("round"),
    Row<"Usage: createsprite (image)", graphics::CreateSprite>("createsprite"),
    Row<"Usage: freesprite (image)", graphics::FreeSprite>("freesprite"),
    Row<"drawsprite (sprite, x,y,width,height,angle,vflip,hflip)", graphics::DrawSprite>("drawsprite"),
    Row<"Usage: loadsprite (filename)", graphics::LoadSprite>("loadsprite"),
    Row<"drawspritepart sprite,x,y,startx,starty,xoffset,yoffset,width,height,angle,vflip,hflip)", graphics::DrawSpritePart>("drawspritepart"),
    Row<"Usage: spritecolor (sprite,r,g,b,alpha)", graphics::SpriteColor>("spritecolor"),
    Row<"Usage: setvirtualsize (w,h)", graphics::SetVirtualSize>("setvirtualsize"),
    Row<"Usage: bmpfontsize (fontnumber,width,height)", graphics::BmpFontSize>("bmpfontsize"),
    Row<"Usage: bmpinputcolor (fontnumber,r,g,b,alpha)", graphics::BmpInputColor>("bmpinputcolor"),
    Row<"Usage: bmpinputbackcolor (fontnumber,r,g,b,alpha)", graphics::BmpInputBackColor>("bmpinputbackcolor"),
    Row<"Usage: bmpfontangle (fontnumber,angle)", graphics::BmpFontAngle>("bmpfontangle"),
    Row<"Usage: textsize (size)", graphics::TextSize>("textsize"),
    Row<"Usage: textwidth (textstring)", graphics::TextWidth>("textwidth"),
    Row<"", graphics::TextHeight>("textheight"),
    Row<"Usage: textinputcolor (red,green,blue,alpha)", graphics::TextInputColor>("textinputcolor"),
    Row<"Usage: textinputbackcolor (red,green,blue,alpha)", graphics::TextInputBackColor>("textinputbackcolor"),
    Row<"Usage: messagebox (caption,text)", graphics::MessageBox>("messagebox"),
    Row<"Usage: setscalequality (mode)", graphics::SetScaleQuality>("setscalequality"),
    Row<"Usage: seticon (image)", graphics::SetIcon>("seticon"),
    Row<"", graphics::Fullscreen>("fullscreen"),
    Row<"Usage: fademusic (ms)", audio::FadeMusic>("fademusic"),
    Row<"", audio::HaltMusic>("haltmusic"),
    Row<"Usage: freesound (sound)", audio::FreeSound>("freesound"),
    Row<"Usage: freemusic (music)", audio::FreeMusic>("freemusic"),
    Row<"", game::UpdateAnimations>("updateanimations"),
    Row<"createanimation (sprite,width,height,startframe,endframe,timer,direction,loop)", game::CreateAnimation>("createanimation"),
    Row<"drawanimation (spriteanimation,xscreen,yscreen,xw,yw,angle,vflip,hflip)", game::DrawAnimation>("drawanimation"),
    Row<"Usage: animationhieght (spriteanimation)", game::AnimationHeight>("animationheight"),
    Row<"Usage: animationwidth (spriteanimation)", game::AnimationWidth>("animationwidth"),
    Row<"Usage: framenumber (spriteanimation)", game::FrameNumber>("framenumber"),
    Row<"Usage: setanimationspeed (spriteanimation,speed)", game::SetAnimationSpeed>("setanimationspeed"),
    Row<"Usage: setanimationloop (spriteanimation,loop)", game::SetAnimationLoop>("setanimationloop"),
    Row<"Usage: haltanimation (spriteanimation)", game::HaltAnimation>("haltanimation"),
    Row<"Usage: animationstopped (spriteanimation)", game::AnimationStopped>("animationstopped"),
    Row<"Usage: createemitter (amount,live,stream)", game::CreateEmitter>("createemitter"),
    Row<"Usage: createparticle (emitterval, X, Y, AAngle, BAngle, Force, CreationDelay)", game::CreateParticles>("createparticles"),
    Row<"Usage: drawparticles (emitterval,sprite,sizex,sizey,angle,vflip,hflip);", game::DrawParticles>("drawparticles"),
    Row<"drawmovingparticles (emitterval,sprite,x,y,sizex,sizey,angle,vflip,hflip,aangle,bangle)", game::DrawMovingParticles>("drawmovingparticles"),
    Row<"Usage: freeemitter (emitternumber)", game::FreeEmitter>("freeemitter"),
    Row<"Usage: haltemitter (emitternumber)", game::HaltEmitter>("haltemitter"),
    Row<"Usage: resumeemitter (emitternumber,x,y,aangle,bangle)", game::ResumeEmitter>("resumeemitter"),
    Row<"", game::UpdateParticles>("updateparticles"),
    Row<"Usage: createmirvparticles (px,py,number,cycle, red,green,blue)", game::CreateSimpleParticles>("createsimpleparticles"),
    Row<"", game::UpdateSimpleParticles>("updatesimpleparticles"),
    Row<"Usage: setparticlesize (size, \"flag\")", game::SetSimpleParticleSize>("setsimpleparticlesize"),
    Row<"Usage: setparticletype (\"type\")", game::SetSimpleParticleType>("setsimpleparticletype"),
    Row<"Usage: setparticleimage (image)", game::SetSimpleParticleImage>("setsimpleparticleimage"),
    Row<"", game::ResetSimpleParticles>("resetsimpleparticles"),
};

}  // namespace

std::span<const ApiEntry> ScriptApiTable() { return kScriptApi; }

void RegisterScriptApi(lua_State* L) {
    for (const ApiEntry& entry : kScriptApi) {
        lua_pushcclosure(L, entry.adapter, 0);
        lua_setglobal(L, entry.name);
    }
}

}  // namespace vorlune::script

// Registry of live object handles.
//
// Images, sprites, sounds and music reach scripts as light userdata holding
// the engine's pointer. Every pointer a load or create function hands out is
// recorded here with its kind; free functions remove it again. Before a handle
// reaches SDL it is checked here, so a null, freed, foreign or wrong-kind
// handle is treated as the null handle and can never crash the process.
#pragma once

namespace vorlune {

using ObjectHandle = void*;  // the pointer a script holds as light userdata

}  // namespace vorlune

namespace vorlune::core {

enum class HandleKind { Image, Sprite, Sound, Music };

void RegisterHandle(ObjectHandle p, HandleKind kind, const void* owner = nullptr);  // record a new live object; owner: the renderer a sprite belongs to
bool IsLive(ObjectHandle p, HandleKind kind);   // true for a recorded object of that kind
ObjectHandle Live(ObjectHandle p, HandleKind kind);  // p when live, else nullptr
bool ForgetHandle(ObjectHandle p, HandleKind kind);  // remove; false when p was not a live object of that kind
void ForgetOwnedBy(const void* owner);          // remove every object owned by owner (a destroyed renderer)
void ForgetKind(HandleKind kind);               // remove every object of that kind (its subsystem was shut down)
void ResetHandles();                            // forget everything (tests)

}  // namespace vorlune::core

// Registry of live object handles.
//
// Images, sprites, sounds and music reach scripts as light userdata holding a
// token: a number handed out once, from 1 upwards, and never again. The
// registry maps each live token to its object, its kind and its owner (the
// renderer of a sprite). Freeing an object forgets its token, so a freed
// handle stays dead for good, even when a new object gets the old address;
// a null, freed, foreign or wrong-kind handle resolves to no object and never
// reaches SDL.
#pragma once

namespace vorlune {

using ObjectHandle = void*;  // the token a script holds as light userdata; null is the null handle

}  // namespace vorlune

namespace vorlune::core {

enum class HandleKind { Image, Sprite, Sound, Music };

ObjectHandle RegisterHandle(void* object, HandleKind kind, const void* owner = nullptr);  // a new token for a live object; null for a null object
void* Resolve(ObjectHandle token, HandleKind kind);  // the live object of that kind, else null
const void* OwnerOf(ObjectHandle token);         // owner recorded for a live token, else null
bool IsLive(ObjectHandle token, HandleKind kind);   // Resolve(token, kind) != null
bool ForgetHandle(ObjectHandle token, HandleKind kind);  // drop a live token; false when it was not one of that kind
void ForgetOwnedBy(const void* owner);           // drop every token owned by owner (a destroyed renderer)
void ForgetKind(HandleKind kind);                // drop every token of that kind (its subsystem was shut down)

}  // namespace vorlune::core

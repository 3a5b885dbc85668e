#pragma once

#include <string>

#include "platform/formfile/value.h"

// What the stream of a stored diagram may say, checked on the stream as read and before any component
// is built from it: the shapes would recurse on a ring of captions, rename an object halfway through
// its properties, or silently clamp, ignore or drop what a diagram cannot hold. Refused, naming
// `source`, the object and the property:
// - a `Name` property (an object is named by its header), a property given twice in one object;
// - a ring of captions (one that captions itself included), naming the objects of the ring; a caption
//   on a free text or on a caption; a relationship end that names no entity of the stream;
// - what a diagram does not hold: a tag (but a caption's 999), cursor, hint or event on any object,
//   and the document's own bounds, colour, alignment and help context, each unless left at its
//   default (the records' reserved fields, which the entity's stored form carries, are kept);
// - a value that the JSON form refuses and a setter would change: a `Tipoform` outside 0..2, a font
//   character set outside 0..255, a colour beyond 32 bits, a relationship's bounds beyond 32 bits.
void check_stored_stream(const formfile::ObjectNode& root, const std::string& source);

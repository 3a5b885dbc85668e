#pragma once

#include "platform/api.h"

// Root of every object that crosses the plug-in boundary by reference (records, lists, fonts,
// components). Its vtable pointer is the "class reference" that the host's records carry at offset 0,
// and its virtual destructor lets either side free what the other allocated.
class KZR40_API TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

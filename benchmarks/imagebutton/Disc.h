#pragma once
// The picture the image button's contact sheet shows beside captions.
#include <memory>

#include "forms/Picture.h"

namespace bench {

// A 16 x 16 picture of 24 bits: a green disc with a white shine on the mask colour.
std::shared_ptr<forms::Picture> Disc();

}  // namespace bench

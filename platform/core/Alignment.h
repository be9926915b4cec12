// Horizontal alignment of text in the class library.
#pragma once

namespace qv {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

}  // namespace qv

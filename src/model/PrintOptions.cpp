#include "model/PrintOptions.h"

#include "model/Numbers.h"

namespace kivrel {

int MarginTwips(std::string_view text) { return Nearest(Val(text) * 1440.0); }

}  // namespace kivrel

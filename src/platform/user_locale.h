// What the user's locale says about the notation of numbers, for the engine's texts.
#pragma once

namespace lumacet {

// The locale's decimal separator when it is one ASCII character, else ".".
char LocaleDecimalSeparator();

}  // namespace lumacet

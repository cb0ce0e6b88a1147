// The Media Center application description: the template of resource
// "MCE_XML" with the value of its first run="..." attribute replaced by the
// full path of the game folder's link. The template is 8-bit text in the
// system's code page; a byte of 0x80 or above starts a double-byte character,
// whose second byte is never taken for part of the keyword or the quote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace configtool {

// The template with the run attribute's value replaced by linkPath. False,
// and no result, when the template has no run=" or no closing quote after it.
bool EditDescription(const std::uint8_t* templateBytes, std::size_t size, const char* linkPath,
                     std::vector<std::uint8_t>* result);

}  // namespace configtool

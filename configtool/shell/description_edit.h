// The Media Center application description: the template of resource
// "MCE_XML" with the value of its first run="..." attribute replaced by the
// full path of the game folder's link. The template is 8-bit text in the
// system's code page; a byte of 0x80 or above starts a double-byte character,
// whose second byte is never taken for part of the keyword or the quote.
//
// The path goes in as US-ASCII attribute text, as the template declares:
// ASCII characters as they are, '&', '<' and '"' as entity references, every
// other character as a decimal character reference. So the file names the
// same link whatever the system's ANSI code page, and a folder such as
// "R&D" still gives well-formed XML.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace configtool {

// The template with the run attribute's value replaced by linkPath (UTF-16,
// as the link file's own name is converted from the ANSI path). False, and
// no result, when the template has no run=" or no closing quote after it, or
// the path holds a control character or a lone surrogate, which no file name
// has and XML cannot carry.
bool EditDescription(const std::uint8_t* templateBytes, std::size_t size, std::u16string_view linkPath,
                     std::vector<std::uint8_t>* result);

}  // namespace configtool

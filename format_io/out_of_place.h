// The message of a record order checker for a record that comes where the
// file expects another.
#pragma once

#include <string>
#include <string_view>

namespace zu::fio {

// "`record` cannot come here: the file expects `expected` next".
std::string OutOfPlaceMessage(std::string_view record, std::string_view expected);

}  // namespace zu::fio

#include "format_io/out_of_place.h"

namespace zu::fio {

std::string OutOfPlaceMessage(std::string_view record, std::string_view expected) {
  std::string message(record);
  message += " cannot come here: the file expects ";
  message += expected;
  message += " next";
  return message;
}

}  // namespace zu::fio

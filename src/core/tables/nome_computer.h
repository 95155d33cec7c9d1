#pragma once

#include <string>

namespace meravo {

// The value of the environment variable COMPUTERNAME, its name matched without regard to case
// (as Windows does); empty when there is none.
std::string nome_computer_da_ambiente();

} // namespace meravo

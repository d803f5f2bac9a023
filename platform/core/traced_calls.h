// The names of the platform's traced calls, which the call log records and
// --fail plans name: the Win32 function names and Interface::Method for COM
// methods. Taken from the sources at build time.
#pragma once

#include <string>
#include <vector>

namespace qmp {

bool isTracedCall(const std::string& name);

// Names that differ from `name` only in case, or that contain it: suggestions
// for a name that is not known.
std::vector<std::string> tracedCallsLike(const std::string& name);

}  // namespace qmp

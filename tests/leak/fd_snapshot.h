#pragma once

#include <map>
#include <string>

namespace kestrova::leak {

// The descriptors open in this process, each with what it refers to.
using FdSnapshot = std::map<int, std::string>;

FdSnapshot TakeFdSnapshot();

// One line per descriptor open in `after` but not in `before` (or open to
// something else); empty when nothing leaked.
std::string DescribeNewDescriptors(const FdSnapshot& before, const FdSnapshot& after);

}  // namespace kestrova::leak

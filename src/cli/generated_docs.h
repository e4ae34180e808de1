// What the build generates from the verbs' declarations and installs: the shell completions
// and the man page. `verbs` are describing parsers, one per verb, in the order of the table.
#pragma once

#include <string>
#include <vector>

#include "cli/argument_parser.h"

namespace lumacet::cli {

std::string BashCompletion(const std::vector<TArgumentParser>& verbs);
std::string ZshCompletion(const std::vector<TArgumentParser>& verbs);
std::string ManPage(const std::vector<TArgumentParser>& verbs, const std::string& version);

}  // namespace lumacet::cli

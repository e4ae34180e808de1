// Runs the lumacet-cli binary the build made, capturing its exit status and output.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "common/example_paths.h"
#include "shell/temp_folder.h"

namespace lumacet::test {

// The bundled example the commands are run on: its folder and its lateral type.
inline const std::string kExample = kExamples + "/lateral_ceph.lcr";

struct TRun {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

// `arguments` are already quoted for the shell; `environment` (such as "LC_ALL=x ") is put
// before the command.
inline TRun RunCli(const TTempFolder& folder, const std::string& arguments, const std::string& environment = {}) {
  const std::string out = folder.File("stdout.txt");
  const std::string err = folder.File("stderr.txt");
  const std::string command =
      environment + "'" + LUMACET_CLI + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
}

}  // namespace lumacet::test

// A small program for the command-line tests: hands its arguments over as the program's
// main does and prints what GetCmdLineArg finds for the switch named by LORM_PROBE_SWITCH
// (with "/" and "-" marking switches), then ParamCount and CmdLine.
#include <cstdlib>
#include <iostream>

#include "label/VxCoreUtils.h"
#include "platform/rtl/CommandLine.h"

int main(int argc, char** argv) {
  if (!std::getenv("LORM_PROBE_NO_HANDOVER")) SetCommandLine(argc, argv);
  const char* name = std::getenv("LORM_PROBE_SWITCH");
  std::cout << VxCoreUtils::GetCmdLineArg(name ? name : "file", VxCoreUtils::TSysCharSet{'/', '-'}) << "\n"
            << ParamCount() << "\n"
            << CmdLine() << "\n";
  return 0;
}

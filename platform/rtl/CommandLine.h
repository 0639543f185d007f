#pragma once
// The program's command line as the framework keeps it. The program's main hands its
// argc/argv over with SetCommandLine; a process whose main did not reads its own
// arguments from the system on first use. CmdLine is the arguments quoted back into
// one text (an argument that holds a blank or a quote, or is empty, in double quotes).
// Tests may set either form.
#include <string>
#include <vector>

void SetCommandLine(int argc, const char* const* argv);
// Sets the text; the parameters are then read from it by the framework's rule (runs of
// characters above a blank, double quotes enclosing runs that may hold blanks).
void SetCmdLine(const std::string& Text);

std::string CmdLine();
// The number of parameters after the program name.
int ParamCount();
// Parameter Index (0 is the program name); empty past the last one.
std::string ParamStr(int Index);

// The framework's reading of a command-line text into parameters (program name first).
std::vector<std::string> SplitCmdLineText(const std::string& Text);

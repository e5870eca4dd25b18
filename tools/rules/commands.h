// The commands of lunet-rules: each takes its parsed arguments and returns the exit status.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "add_plan.h"
#include "arguments.h"
#include "rule_set.h"

namespace rules_cli {

int RunCheck(Arguments& args);
int RunTest(Arguments& args);
int RunAdd(Arguments& args);
// add and pick: the plan for the folder given, or the refusal said and its exit status.
int PlanAddition(const std::string& given, const std::string* className,
                 const std::string* fragment, rule_engine::AddPlan& plan);
void ShowPlan(const rule_engine::AddPlan& plan);
// Appends in the file's own line ends (CR LF for a new file, which starts with a comment), then
// lists the open windows now closed (Windows) and what running programs do.
int ApplyAdd(const rule_engine::AddPlan& plan);
// Started by a double-click: checks the rules in the program's own folder and says what next.
int RunFirstScreen();
#ifdef _WIN32
int RunScan(Arguments& args);
int RunWatch(Arguments& args);
int RunPick(Arguments& args);
#endif

}  // namespace rules_cli

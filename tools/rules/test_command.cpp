// lunet-rules test: would a window with this class and title be closed, and by which rules
// (the engine's trial), said on the console.
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "rule_set.h"
#include "rule_trial.h"

namespace rules_cli {

using namespace rule_engine;

// test's exit: clean when such a window is closed, a warning when it stays open.
const Exit kClosed = kClean, kLeftOpen = kWarnings;

int RunTest(Arguments& args) {
  if (!args.Has(OptionId::Class) || !args.Has(OptionId::Title)) {
    return UsageError(rules_text::kTestNeeds);
  }
  RuleSet rules(args.CodePage());
  int opened = OpenFolder(args.Folder(), rules);
  if (opened != kClean) return opened;

  Say(Text(rules_text::kRulesIn, PathText(WithSeparator(args.Folder())), Counts(rules)));
  Trial trial = TryWindow(rules, args.Text(OptionId::Class), args.Text(OptionId::Title));
  for (const std::string& line : trial.lines) Say(line);
  return trial.verdict.Closes() ? kClosed : kLeftOpen;
}

}  // namespace rules_cli

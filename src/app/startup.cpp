#include "app/startup.h"

namespace qm::app {

StartupPlan PlanStartup(Configuration& config, const std::vector<std::string>& args) {
  StartupPlan plan;
  config.Initialise();  // module initialisation
  config.Initialise();  // the main program body repeats the globals and the system settings
  config.LoadSystemConfig();
  config.FindFamilyWindows();
  if (config.Family().otherInstance.valid()) {
    plan.anotherInstance = true;
    plan.raiseError = platform::RaiseFamilyWindow(config.Family().otherInstance);
    return plan;
  }
  if (!args.empty()) {
    if (args[0].compare(0, 2, "-Q") == 0) plan.showSplash = false;
    else plan.firstArgument = args[0];
  }
  return plan;
}

const std::vector<std::string_view>& FormCreationOrder() {
  static const std::vector<std::string_view> kOrder = {
      "TCADChild",       "TTextToolBox",       "TChamfDlg",        "TRTDeltaDlg",     "TAlterLine",
      "TLALineDlg",      "TAlterArc",          "TXYAbsoluteDlg",   "TXYGridForm",     "TRadDlg",
      "TBlenDlg",        "TFloatColorSet",     "TFloatCalcBox",    "TFloatEditBox",   "TUnionForm",
      "TAlterCirc",      "TVerifyForm",        "TXYDeltaDlg",      "TDraftToolBox",   "TRulerTypeForm",
      "TRulerCircularForm", "TRulerLinearForm", "TRulerTicksForm", "TFrameAlignForm", "TStackForm",
      "TNumeratorForm",  "TExplodeForm",       "TMeasureForm",     "TOpenFontForm",   "TFontNameForm",
      "TTypeFaceForm",   "TSketchForm",
  };
  return kOrder;
}

void ReloadConfiguration(Configuration& config) {
  config.LoadSystemConfig();
  config.LoadUserDefaults(nullptr);
}

}  // namespace qm::app

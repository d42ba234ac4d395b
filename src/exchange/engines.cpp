#include "exchange/engines.h"

namespace qm::exchange {


const std::vector<EngineSpec>& EngineTable() {
  static const std::vector<EngineSpec> kTable = {
      {kZovuz, 1, EngineArgs(OffsetArgs{}).index(), "mail.ofs", "mail.ofs", SuccessRule::Positive},
      {kVekRidge, 1, EngineArgs(NoArgs{}).index(), "mail.fat", "mail.fat", SuccessRule::Zero},
      {kVekShadow, 1, EngineArgs(ShadowArgs{}).index(), "mail.shd", "mail.shd", SuccessRule::Zero},
      {kVekUni, 1, EngineArgs(CombineArgs{}).index(), "mail.uni", "mail.uni", SuccessRule::Zero},
      {kVekFill, 1, EngineArgs(FillArgs{}).index(), "mail.fil", "mail.fil", SuccessRule::Zero},
      {kVekStretch, 1, EngineArgs(StretchArgs{}).index(), "mail.stc", "mail.sti", SuccessRule::Zero},
      {kVekConv, 1, EngineArgs(ConvertArgs{}).index(), "the DXF file", "mail.cnv", SuccessRule::Zero},
      {kVekConv, 3, EngineArgs(ConvertArgs{}).index(), "the RLF file", "mail.cnv", SuccessRule::Zero},
      {kVekConv, 4, EngineArgs(ConvertArgs{}).index(), "the EPS file", "mail.cnv", SuccessRule::Zero},
      {kVekConv, 5, EngineArgs(ConvertArgs{}).index(), "the HPGL file", "mail.cnv", SuccessRule::Zero},
      {kVekConv, 6, EngineArgs(ConvertArgs{}).index(), "mail.cnv", "the HPGL file", SuccessRule::Zero},
      {kVekConv, 7, EngineArgs(ConvertArgs{}).index(), "the CNC file", "mail.cnv", SuccessRule::Zero},
      {kVekConv, 8, EngineArgs(ConvertArgs{}).index(), "mail.cnv", "the DXF file", SuccessRule::Zero},
      {kSysSetup, 1, EngineArgs(NoArgs{}).index(), "quillery5.ini", "quillery5.ini", SuccessRule::Positive},
  };
  return kTable;
}

const EngineSpec* FindEngineSpec(std::string_view library, int ordinal) {
  for (const auto& spec : EngineTable())
    if (spec.library == library && spec.ordinal == ordinal) return &spec;
  return nullptr;
}

bool EngineSucceeded(std::string_view library, std::int32_t result) {
  if (result == kEngineNotAvailable) return false;
  if (library == kZovuz || library == kSysSetup) return result > 0;
  return result == 0;
}

bool EngineRegistry::Register(std::string_view library, int ordinal, EngineFunction fn) {
  if (!FindEngineSpec(library, ordinal) || !fn) return false;
  engines_[{std::string(library), ordinal}] = std::move(fn);
  return true;
}

void EngineRegistry::Unregister(std::string_view library, int ordinal) {
  engines_.erase({std::string(library), ordinal});
}

bool EngineRegistry::IsAvailable(std::string_view library, int ordinal) const {
  return engines_.count({std::string(library), ordinal}) != 0;
}

std::int32_t EngineRegistry::Call(std::string_view library, int ordinal, const EngineArgs& args) const {
  const EngineSpec* spec = FindEngineSpec(library, ordinal);
  if (!spec || spec->argsIndex != args.index()) return kEngineNotAvailable;
  auto it = engines_.find({std::string(library), ordinal});
  if (it == engines_.end()) return kEngineNotAvailable;
  return it->second(args);
}

EngineRegistry& Engines() {
  static EngineRegistry registry;
  return registry;
}

RecordingEngines::~RecordingEngines() {
  for (const auto& [lib, ord] : installed_) registry_.Unregister(lib, ord);
}

void RecordingEngines::Install(std::string_view library, int ordinal) {
  std::string lib(library);
  bool ok = registry_.Register(library, ordinal, [this, lib, ordinal](const EngineArgs& args) {
    calls_.push_back({lib, ordinal, args});
    auto it = results_.find({lib, ordinal});
    if (it != results_.end()) return it->second;
    const EngineSpec* spec = FindEngineSpec(lib, ordinal);
    return spec && spec->rule == SuccessRule::Positive ? 1 : 0;
  });
  if (ok) installed_.emplace_back(lib, ordinal);
}

void RecordingEngines::InstallAll() {
  for (const auto& spec : EngineTable()) Install(spec.library, spec.ordinal);
}

void RecordingEngines::SetResult(std::string_view library, int ordinal, std::int32_t result) {
  results_[{std::string(library), ordinal}] = result;
}

}  // namespace qm::exchange

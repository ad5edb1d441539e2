#include "environment/post_settings.h"

#include <cstdlib>

#include "framework/text_file.h"

namespace zu {

PostSettingsRecord PostSettings;

namespace {

constexpr std::size_t kLineLimit = 1023;  // what the reader's 1024-byte buffer holds
constexpr std::size_t kFieldLimit = 255;

void DefaultCodePath(PostSettingsRecord& settings, const SettingsSources& sources) {
  if (settings.CodePathName.IsEmpty()) {
    settings.CodePathName = sources.home_folder + "\\Cut\\NC0001.cut";
  }
}

// Stores `value` in the field named `key`; unknown keys are ignored.
void Store(PostSettingsRecord& s, const std::string& key, const std::string& value) {
  struct TextKey {
    const char* key;
    Text PostSettingsRecord::*field;
  };
  struct IntKey {
    const char* key;
    int PostSettingsRecord::*field;
  };
  struct DoubleKey {
    const char* key;
    double PostSettingsRecord::*field;
  };
  static const TextKey texts[] = {
      {"CurrentMcf", &PostSettingsRecord::CurrentMcf},
      {"ExeFileName", &PostSettingsRecord::ExeFileName},
      {"PmfPathName", &PostSettingsRecord::PmfPathName},
      {"CodePathName", &PostSettingsRecord::CodePathName},
      {"FileNameSuffix", &PostSettingsRecord::FileNameSuffix},
      {"ReadCode", &PostSettingsRecord::ReadCode},
  };
  static const IntKey ints[] = {
      {"PickPath", &PostSettingsRecord::PickPath},
      {"LeavePmf", &PostSettingsRecord::LeavePmf},
      {"FileNameID", &PostSettingsRecord::FileNameID},
      {"OptimizePath", &PostSettingsRecord::OptimizePath},
      {"UseCurrentGName", &PostSettingsRecord::UseCurrentGName},
      {"UseJigCoord", &PostSettingsRecord::UseJigCoord},
      {"JigToolAxis", &PostSettingsRecord::JigToolAxis},
      {"FixMillMode", &PostSettingsRecord::FixMillMode},
  };
  static const DoubleKey doubles[] = {
      {"OptimizeTol", &PostSettingsRecord::OptimizeTol},
      {"MaxArcRadius", &PostSettingsRecord::MaxArcRadius},
      {"MinArcRadius", &PostSettingsRecord::MinArcRadius},
      {"MinSectionLine", &PostSettingsRecord::MinSectionLine},
      {"JigToolUpHeight", &PostSettingsRecord::JigToolUpHeight},
      {"JigTolerance", &PostSettingsRecord::JigTolerance},
  };
  // "NoRedisplay" and "McfFolder" are known keys whose values are ignored.
  for (const auto& k : texts) {
    if (key == k.key)
      s.*k.field = value;
  }
  for (const auto& k : ints) {
    if (key == k.key)
      s.*k.field = std::atoi(value.c_str());
  }
  for (const auto& k : doubles) {
    if (key == k.key)
      s.*k.field = std::atof(value.c_str());
  }
}

}  // namespace

void LoadSettingsFrom(PostSettingsRecord& settings, const SettingsSources& sources) {
  if (sources.read_post_path) {
    Text folder;
    if (sources.read_post_path(folder))
      settings.McfFolder = folder;
  }
  const std::string cut = sources.home_folder + "\\Cut";
  if (sources.folder_missing && sources.folder_missing(cut) && sources.make_folder) {
    sources.make_folder(cut);
  }

  TextFile file(settings.FilePath.c_str(), "r+");
  if (!file.is_open()) {
    settings.CodePathName = sources.home_folder + "\\Cut\\NC0001.cut";
    return;
  }
  std::string line;
  bool too_long = false;
  bool ended = false;
  if (file.ReadLine(line, kLineLimit, too_long, ended) && !too_long && line == "[MCFINFO]") {
    while (file.ReadLine(line, kLineLimit, too_long, ended)) {
      if (too_long)
        continue;
      const auto equals = line.find('=');
      if (equals == std::string::npos)
        continue;
      const std::string key = line.substr(0, equals);
      const std::string value = line.substr(equals + 1);
      if (key.size() > kFieldLimit || value.size() > kFieldLimit)
        continue;
      Store(settings, key, value);
    }
  }
  file.Close();
  DefaultCodePath(settings, sources);
  if (settings.JigTolerance > 0 && settings.JigTolerance < kMinJigTolerance)
    settings.JigTolerance = kMinJigTolerance;
}

void SaveSettingsTo(const PostSettingsRecord& s) {
  TextFile file(s.FilePath.c_str(), "w+");
  if (!file.is_open())
    return;
  file.Printf("[MCFINFO]\n");
  file.Printf("CurrentMcf=%s\n", s.CurrentMcf.c_str());
  file.Printf("ExeFileName=%s\n", s.ExeFileName.c_str());
  file.Printf("PickPath=%d\n", s.PickPath);
  file.Printf("LeavePmf=%d\n", s.LeavePmf);
  file.Printf("PmfPathName=%s\n", s.PmfPathName.c_str());
  file.Printf("CodePathName=%s\n", s.CodePathName.c_str());
  file.Printf("FileNameID=%d\n", s.FileNameID);
  file.Printf("FileNameSuffix=%s\n", s.FileNameSuffix.c_str());
  file.Printf("ReadCode=%s\n", s.ReadCode.c_str());
  file.Printf("OptimizePath=%d\n", s.OptimizePath);
  file.Printf("OptimizeTol=%g\n", s.OptimizeTol);
  file.Printf("MaxArcRadius=%g\n", s.MaxArcRadius);
  file.Printf("MinArcRadius=%g\n", s.MinArcRadius);
  file.Printf("MinSectionLine=%g\n", s.MinSectionLine);
  file.Printf("UseCurrentGName=%d\n", s.UseCurrentGName);
  file.Printf("UseJigCoord=%d\n", s.UseJigCoord);
  file.Printf("JigToolAxis=%d\n", s.JigToolAxis);
  file.Printf("FixMillMode=%d\n", s.FixMillMode);
  file.Printf("JigToolUpHeight=%g\n", s.JigToolUpHeight);
  file.Printf("JigTolerance=%g\n", s.JigTolerance);
}

}  // namespace zu

// Skins made from the program's own skin sources with an edited description.
#include "tests/support/SkinVariants.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/core/Streams.h"
#include "skin/data/SkinWrite.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {

namespace {

constexpr char16_t kIniName[] = u"skin.ini";

std::vector<qv::TSkinMember> SourceMembers() {
  return qv::SkinFolderMembers(qv::FromUtf8(Narrow(WinePath(QV_SKIN_SOURCES))));
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The lower-case name of the section a line opens, or empty.
std::string SectionOf(const std::string& line) {
  const size_t open = line.find_first_not_of(" \t");
  if (open == std::string::npos || line[open] != '[') return std::string();
  const size_t close = line.find(']', open);
  return close == std::string::npos ? std::string() : Lower(line.substr(open + 1, close - open - 1));
}

// Calls keep(line, section) for every line of ini (section: the lower-case
// name of the section it stands in) and joins what it returns.
template <class Keep>
std::string EachLine(const std::string& ini, Keep keep) {
  std::istringstream in(ini);
  std::string out, line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (const std::string opened = SectionOf(line); !opened.empty()) section = opened;
    if (const auto kept = keep(line, section)) out += *kept + "\r\n";
  }
  return out;
}

}  // namespace

std::string ProgramSkinIni() {
  for (const qv::TSkinMember& m : SourceMembers())
    if (m.name == kIniName) return std::string(m.bytes.begin(), m.bytes.end());
  return std::string();
}

std::string WithoutSection(const std::string& ini, const std::string& name) {
  return EachLine(ini, [&](const std::string& line, const std::string& section) {
    return section == Lower(name) ? std::optional<std::string>() : line;
  });
}

std::string WithValue(const std::string& ini, const std::string& name, const std::string& key,
                      const std::string& value) {
  return EachLine(ini, [&](const std::string& line, const std::string& section) {
    const bool ours = section == Lower(name) && Lower(line).rfind(Lower(key) + "=", 0) == 0;
    return std::optional<std::string>(ours ? key + "=" + value : line);
  });
}

void WriteProgramSkin(const std::wstring& path, const std::string& ini, const std::vector<qv::TSkinMember>& replaced) {
  std::vector<qv::TSkinMember> members = SourceMembers();
  for (qv::TSkinMember& m : members) {
    if (m.name == kIniName) m.bytes.assign(ini.begin(), ini.end());
    for (const qv::TSkinMember& r : replaced)
      if (m.name == r.name) m.bytes = r.bytes;
  }
  qv::TMemoryStream out;
  qv::WriteSkinArchive(70000, members, out);
  out.SaveToFile(qv::FromUtf8(Narrow(path)));
}

std::vector<uint8_t> PictureBytes(int w, int h, qv::TColor fill) {
  qv::TBitmap b;
  b.SetSize(w, h);
  qv::FillRect(b, qv::Rect(0, 0, w, h), fill);
  qv::TMemoryStream s;
  b.SaveToStream(s);
  return s.Bytes();
}

}  // namespace qvtest

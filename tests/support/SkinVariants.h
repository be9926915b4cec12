// Skins a test makes from the program's own skin sources
// (assets/skin/quillvault): every member as the skin packer takes it, with
// the description (skin.ini) edited as the test needs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Colors.h"
#include "skin/data/SkinWrite.h"

namespace qvtest {

// The sources' description, as text.
std::string ProgramSkinIni();
// ini without the section [name] and its lines (names compared without
// regard to case).
std::string WithoutSection(const std::string& ini, const std::string& name);
// ini with the line of key in section [name] replaced by key=value.
std::string WithValue(const std::string& ini, const std::string& name, const std::string& key,
                      const std::string& value);
// The sources packed as the skin packer packs them, with ini as the
// description and `replaced` in place of the members of the same names,
// written to path (a Windows path).
void WriteProgramSkin(const std::wstring& path, const std::string& ini,
                      const std::vector<qv::TSkinMember>& replaced = {});
// A w x h picture of one colour, as a skin archive holds its pictures.
std::vector<uint8_t> PictureBytes(int w, int h, qv::TColor fill);

}  // namespace qvtest

// The platform-free part of the skin component: its stored settings, the
// skin archive held as the binary property "SkinStream", and the loading of
// that archive into scheme colours, colour presets, caption buttons and skin
// elements. TSkinData (WinSkinData.h) adds what needs the window system: the
// skin manager, hints, the caption font, the application icon and brushes.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/StringList.h"
#include "platform/core/TypInfo.h"
#include "skin/data/SkinElements.h"

namespace qv {

class TQuickIni;
class TSkinPictures;
class TSkinStore;

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = uint32_t;

enum TSkinOption {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar
};
using TSkinOptions = uint32_t;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

enum TWinContainer {
  xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar, xccPanel, xccScrollBox, xccGroupBox, xccTabSheet,
  xccPageScroller
};
using TWinContainers = uint32_t;

extern const TEnumInfo kSkinControlTypeInfo;
extern const TEnumInfo kSkinOptionInfo;
extern const TEnumInfo kSkinFormTypeInfo;

template <class E>
constexpr uint32_t SetOf(std::initializer_list<E> members) {
  uint32_t s = 0;
  for (E m : members) s |= 1u << m;
  return s;
}
inline bool InSet(uint32_t set, int member) { return (set >> member) & 1u; }

using TShemeColors = std::array<TColor, 20>;
// The slots of Colors (and hasColors), named after their keys in the
// skin's "Colours" section; 9, 10 and 19 are never read.
enum TSchemeColor : size_t {
  scWindowText = 0,
  scTitleTextActive = 1,
  scTitleTextNoActive = 2,
  scButtonFace = 3,
  scButtonText = 4,
  scButtonHilight = 5,
  scButtonlight = 6,
  scButtonShadow = 7,
  scButtonDkShadow = 8,
  scHilightText = 11,
  scHilight = 12,
  scMenubar = 13,
  scMenuBarText = 14,
  scMenuText = 15,
  scMenu = 16,
  scCaption = 17,  // no key: the caption colour, computed once loading ends
  scScrollbar = 18,
};

// Colour text: three decimal numbers separated by anything; see the .cpp.
TColor StrToRGB(StringView text);
// The 118 class mappings a new component starts with.
const std::vector<String>& DefaultSkin3rd();

class TCustomSkinData : public TComponent {
  QV_CLASS(TCustomSkinData)
 public:
  explicit TCustomSkinData(TComponent* AOwner);
  ~TCustomSkinData() override;

  void DefineProperties(TFiler& filer) override;

  // ---- published settings
  bool Active() const { return factive; }
  virtual void SetActive(bool Value);
  int DisableTag() const { return fdisableTag; }
  void SetDisableTag(int v) { fdisableTag = v; }
  TSkinControlTypes SkinControls() const { return FSkinControls; }
  void SetSkinControls(TSkinControlTypes v) { FSkinControls = v; }
  TSkinOptions Options() const { return fSkinOptions; }
  void SetOptions(TSkinOptions v) { fSkinOptions = v; }
  TStrings* Skin3rd() const { return f3rdControls; }
  void SetSkin3rd(TStrings* v);
  const String& SkinFile() const { return fskinfile; }
  String SkinStore() const;
  void SetSkinStore(const String&) {}
  TSkinFormType SkinFormtype() const { return ftype; }
  void SetSkinFormtype(TSkinFormType v) { ftype = v; }
  const String& Version() const { return fversion; }
  void SetVersion(const String&) {}
  bool MenuUpdate() const { return fmenuauto; }
  void SetMenuUpdate(bool v) { fmenuauto = v; }
  bool MenuMerge() const { return fmenumerge; }
  void SetMenuMerge(bool v) { fmenumerge = v; }

  // ---- loading
  // Also the writer of SkinFile. A missing file only sets Empty.
  void LoadFromFile(const String& FileName);
  void LoadFromStream(TStream& Stream);
  // Nothing for an index at or past the item count.
  void LoadFromCollection(TSkinStore* astore, int aindex);
  // True when an archive was read (Empty false afterwards). The new skin is
  // read beside the old one: a load that fails part way leaves the old skin
  // (and data) as they were; a load that succeeds keeps the old elements
  // alive until SkinSwapped has let go of them.
  bool LoadSkinData();
  // A picture member of the archive being read into bmp (cleared when the
  // name is not a ".bmp" member or the member is missing or empty).
  void Readbmp(TBitmap& bmp, StringView fname);

  bool GetPrecolor(TColor& acolor, int n) const;
  static String GetFileName(StringView s);
  TColor GetCaptionColor() const;
  void DoDebug(StringView s);

  // ---- stored state (read directly by the drawing code)
  String fskinfile;
  TColor fMenuSideBar = 0;
  bool factive = false;
  int32_t fdisableTag = 99;
  TWinContainers FContainers = 0;
  TSkinControlTypes FSkinControls = 0;
  TSkinOptions fSkinOptions = 0;
  TSkinFormType ftype = sfMainform;
  bool FInDLL = false;
  TStringList* f3rdControls;
  bool fmenuauto = true;
  String fversion;
  bool fmenumerge = false;
  TMemoryStream* data;
  bool Empty = true;

  // ---- the loaded skin
  TShemeColors Colors{};
  std::array<bool, 20> hasColors{};
  std::vector<TColor> ColorPreset;
  std::unique_ptr<TBitmap> SysIcon;
  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysBtn;
  std::unique_ptr<TDataSkinButton> Button;
  std::unique_ptr<TDataSkinBorder> tab, HSpin, VSpin;
  std::unique_ptr<TDataSkinObject> Comboxborder, ExtraImages;
  std::unique_ptr<TDataSkinBorder> combox;
  std::unique_ptr<TDataSkinObject> comboxarrow, Box, Toolbar, Toolbarbtn;
  std::unique_ptr<TDataSkinBorder> progress;
  std::unique_ptr<TDataSkinObject> progresschunk;
  std::unique_ptr<TDataSkinBoxLabel> boxlabel;
  std::unique_ptr<TDataSkinObject> StatusBar, TabSheet, Header, Menubar, MenuItem, MenuitemBG, SArrow, HBar, VBar,
      HSlider, VSlider, TrackHorz, TrackVert, TrackBar, TrackBarVert, TrackLeft, Trackright, Tracktop, Trackbottom,
      MinCaption;
  // Indices 1 to 4: "Left", "Right", "Top", "Bottom".
  std::array<std::unique_ptr<TDataSkinBorder>, 5> border;
  std::array<TColor, 10> PresetColors{};
  bool MenuMsg = true;
  String SkinName;
  TStrings* DebugList = nullptr;  // not owned
  int32_t cxMax = 0, cyMax = 0;
  int32_t hintcount = 0;

  // Every element that exists, for counting and for the viewer: the fields
  // above in declaration order, then the caption buttons.
  std::vector<const TDataSkinObject*> Elements() const;

 protected:
  // After a load from a file, stream or collection.
  virtual void SkinReloaded() {}
  // The new skin is in place; the old elements are freed when this returns,
  // so whatever still points at them must move to the new ones here.
  virtual void SkinSwapped() {}
  // At the end of ReadSkinIni, once Colors are final (the brush of the face).
  virtual void SkinParsed() {}
  // The width of a horizontal scroll-bar arrow (the combo button is 2 wider).
  virtual int HScrollArrowWidth() const { return 17; }

 private:
  struct TLoadedSkin;
  // Exchanges the loaded skin with the one kept.
  void SwapSkin(TLoadedSkin& keep);
  // data := what fill writes, then LoadSkinData; see the .cpp.
  bool LoadData(const std::function<void(TMemoryStream&)>& fill);
  void ReadSkinIni();
  void ReadBorders();
  void ReadColors();
  void ReadSysButtons();
  void ReadMDIControls(int first);
  void ReadButtons();
  void ReadTitle();
  void ReadSkinObject(std::unique_ptr<TDataSkinObject>& field, StringView section);
  void ReadSkinBorder(std::unique_ptr<TDataSkinBorder>& field, StringView section, StringView secondKey);
  void ReadBitmapObject(std::unique_ptr<TDataSkinBorder>& field, StringView section);
  void ReadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& field, StringView section);
  void ReadMenuBar(std::unique_ptr<TDataSkinObject>& field, StringView section);
  void ReadRGBKeys(StringView section, StringView prefix, TColor& colour);
  void LoadResourceObject(std::unique_ptr<TDataSkinObject>& field, StringView name);
  void SetFrameDefaults();
  void MakeComboImages();
  void MakeComboArrow();
  void MakeToolbarImage();
  void ReadObjectKeys(TDataSkinObject& o, StringView section, bool withFrame);
  // NormalColour, MouseOverColour, PressedColour and their "2" variants.
  void ReadColourKeys(TDataSkinObject& o, StringView section);
  String ReadStr(StringView section, StringView key) const;
  int ReadInt(StringView section, StringView key, int def) const;
  TColor ReadRGB(StringView section, StringView key, TColor def) const;

  // Only during a load.
  TQuickIni* ini = nullptr;
  TSkinPictures* pictures = nullptr;
};

}  // namespace qv

#include "skin/data/CustomSkinData.h"

#include <functional>

#include "platform/core/FileUtils.h"
#include "platform/core/TypInfo.h"
#include "skin/data/BuiltinBitmaps.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinImage.h"
#include "skin/data/SkinPictures.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"
#include "skin/data/WinSkinStore.h"

namespace qv {

const TEnumInfo kSkinControlTypeInfo{{u"xcMainMenu", u"xcPopupMenu", u"xcMenuItem", u"xcToolbar", u"xcControlbar",
                                      u"xcCombo", u"xcCheckBox", u"xcRadioButton", u"xcProgress", u"xcScrollbar",
                                      u"xcEdit", u"xcButton", u"xcBitBtn", u"xcSpeedButton", u"xcSpin", u"xcPanel",
                                      u"xcGroupBox", u"xcStatusBar", u"xcTab", u"xcTrackBar", u"xcSystemMenu",
                                      u"xcFastReport"}};
const TEnumInfo kSkinOptionInfo{{u"xoMDIScrollbar", u"xoMenuMerge", u"xoTransparent", u"xoPreview",
                                 u"xoParentBackGround", u"xoNoFocusRect", u"xoToolbarBK", u"xoToolbarButton",
                                 u"xoMDIChildBorder", u"xoMenuBG", u"xoCaptionButtonHint", u"xoFormScrollbar"}};
const TEnumInfo kSkinFormTypeInfo{{u"sfMainform", u"sfOnlyThisForm", u"sfDialog", u"sfDLL"}};

const std::vector<String>& DefaultSkin3rd() {
  static const std::vector<String> lines = {
      u"TCategoryButtons=scrollbar",
      u"TPngSpeedbutton=pngspeedbutton",
      u"TPngBitBtn=pngbitbtn",
      u"TVirtualStringTree=scrollbar",
      u"TVirtualDrawTree=scrollbar",
      u"TTBXDockablePanel=Panel",
      u"TAdvPanelGroup=scrollbar",
      u"TComboboxex=combobox",
      u"TRxSpeedButton=speedbutton",
      u"THTMLViewer=scrollbar",
      u"TDBCtrlGrid=scrollbar",
      u"TfrSpeedButton=speedbutton",
      u"TfrTBButton=speedbutton",
      u"TControlBar=Panel",
      u"TTBDock=Panel",
      u"TTBToolbar=Panel",
      u"TImageEnMView=scrollbar",
      u"TImageEnView=scrollbar",
      u"TAdvMemo=scrollbar",
      u"TDBAdvMemo=scrollbar",
      u"TcxDBLookupComboBox=combobox",
      u"TcxDBComboBox=combobox",
      u"TcxDBDateEdit=combobox",
      u"TcxDBImageComboBox=combobox",
      u"TcxDBCalcEdit=combobox",
      u"TcxDBBlobEdit=combobox",
      u"TcxDBPopupEdit=combobox",
      u"TcxDBFontNameComboBox=combobox",
      u"TcxDBShellComboBox=combobox",
      u"TRxLookupEdit=combobox",
      u"TRxDBLookupCombo=combobox",
      u"TRzGroup=panel",
      u"TRzButton=button",
      u"TRzBitbtn=bitbtn",
      u"TRzMenuButton=menubtn",
      u"TRzCheckGroup=CheckGroup",
      u"TRzRadioGroup=Radiogroup",
      u"TRzButtonEdit=Edit",
      u"TRzDBRadioGroup=Radiogroup",
      u"TRzDBRadioButton=Radiobutton",
      u"TRzDateTimeEdit=combobox",
      u"TRzColorEdit=combobox",
      u"TRzDateTimePicker=combobox",
      u"TRzDBDateTimeEdit=combobox",
      u"TRzDbColorEdit=combobox",
      u"TRzDBDateTimePicker=combobox",
      u"TLMDButton=bitbtn",
      u"TLMDGroupBox=Groupbox",
      u"TDBCheckboxEh=Checkbox",
      u"TDBCheckboxEh=Checkbox",
      u"TLMDCHECKBOX=Checkbox",
      u"TLMDDBCHECKBOX=Checkbox",
      u"TLMDRadiobutton=Radiobutton",
      u"TLMDCalculator=panel",
      u"TLMDGROUPBOX=Panel",
      u"TLMDSIMPLEPANEL=Panel",
      u"TLMDDBCalendar=Panel",
      u"TLMDButtonPanel=Panel",
      u"TLMDLMDCalculator=Panel",
      u"TLMDHeaderPanel=Panel",
      u"TLMDTechnicalLine=Panel",
      u"TLMDLMDClock=Panel",
      u"TLMDTrackbar=panel",
      u"TLMDListCombobox=combobox",
      u"TLMDCheckListCombobox=combobox",
      u"TLMDHeaderListCombobox=combobox",
      u"TLMDImageCombobox=combobox",
      u"TLMDColorCombobox=combobox",
      u"TLMDFontCombobox=combobox",
      u"TLMDFontSizeCombobox=combobox",
      u"TLMDFontSizeCombobox=combobox",
      u"TLMDPrinterCombobox=combobox",
      u"TLMDDriveCombobox=combobox",
      u"TLMDCalculatorComboBox=combobox",
      u"TLMDTrackBarComboBox=combobox",
      u"TLMDCalendarComboBox=combobox",
      u"TLMDTreeComboBox=combobox",
      u"TLMDRADIOGROUP=radiogroup",
      u"TLMDCheckGroup=CheckGroup",
      u"TLMDDBRADIOGROUP=radiogroup",
      u"TLMDDBCheckGroup=CheckGroup",
      u"TLMDCalculatorEdit=edit",
      u"TLMDEDIT=Edit",
      u"TLMDMASKEDIT=Edit",
      u"TLMDBROWSEEDIT=Edit",
      u"TLMDEXTSPINEDIT=Edit",
      u"TLMDCALENDAREDIT=Edit",
      u"TLMDFILEOPENEDIT=Edit",
      u"TLMDFILESAVEEDIT=Edit",
      u"TLMDCOLOREDIT=Edit",
      u"TLMDDBEDIT=Edit",
      u"TLMDDBMASKEDIT=Edit",
      u"TLMDDBEXTSPINEDIT=Edit",
      u"TLMDDBSPINEDIT=Edit",
      u"TLMDDBEDITDBLookup=Edit",
      u"TLMDEDITDBLookup=Edit",
      u"TDBLookupCombobox=Combobox",
      u"TWWDBCombobox=Combobox",
      u"TWWDBLookupCombo=Combobox",
      u"TWWDBCombobox=Combobox",
      u"TWWKeyCombo=Combobox",
      u"TWWTempKeyCombo=combobox",
      u"TWWDBDateTimePicker=Combobox",
      u"TWWRADIOGROUP=radiogroup",
      u"TWWDBEDIT=Edit",
      u"TcxButton=bitbtn",
      u"TcxDBRadioGroup=radiogroup",
      u"TcxRadioGroup=radiogroup",
      u"TcxGroupbox=groupbox",
      u"TOVCPICTUREFIELD=Edit",
      u"TOVCDBPICTUREFIELD=Edit",
      u"TOVCSLIDEREDIT=Edit",
      u"TOVCDBSLIDEREDIT=Edit",
      u"TOVCSIMPLEFIELD=Edit",
      u"TOVCDBSIMPLEFIELD=Edit",
      u"TO32DBFLEXEDIT=Edit",
      u"TOVCNUMERICFIELD=Edit",
      u"TOVCDBNUMERICFIELD=Edit",
  };
  return lines;
}

// Digit runs are closed by any other character; a run too large for a
// signed 32-bit number stays open and keeps growing. Only three components
// exist: further runs are ignored. A run still open at the end counts as the
// third number only after exactly two closed runs.
TColor StrToRGB(StringView text) {
  const String t = Trim(text);
  int64_t c[3] = {0, 0, 0};
  int i = 1;
  String run;
  auto value = [](const String& r, int64_t& v) {
    v = 0;
    for (char16_t ch : r) {
      v = v * 10 + (ch - u'0');
      if (v > INT32_MAX) return false;
    }
    return true;
  };
  for (char16_t ch : t) {
    if (ch >= u'0' && ch <= u'9') {
      run += ch;
      continue;
    }
    if (run.empty()) continue;
    int64_t v;
    if (!value(run, v)) continue;
    if (i <= 3) c[i - 1] = v;
    ++i;
    run.clear();
  }
  if (i == 3) {
    int64_t v = 0;
    c[2] = !run.empty() && value(run, v) ? v : 0;
  }
  return static_cast<TColor>(RGBColor(static_cast<unsigned>(c[0] & 255), static_cast<unsigned>(c[1] & 255),
                                      static_cast<unsigned>(c[2] & 255)));
}

const TClassInfo& TCustomSkinData::StaticClass() {
  using T = TCustomSkinData;
  static const TClassInfo& info =
      TClassBuilder<T>(u"TCustomSkinData", TComponent::StaticClass())
          .Bool(u"Active", &T::Active, &T::SetActive)
          .Int(u"DisableTag", &T::DisableTag, &T::SetDisableTag)
          .SetOf(u"SkinControls", &T::SkinControls, &T::SetSkinControls, kSkinControlTypeInfo)
          .SetOf(u"Options", &T::Options, &T::SetOptions, kSkinOptionInfo)
          .Obj<TStrings>(u"Skin3rd", &T::Skin3rd, &T::SetSkin3rd)
          .Str(u"SkinFile", &T::SkinFile, &T::LoadFromFile)
          .Str(u"SkinStore", &T::SkinStore, &T::SetSkinStore)
          .Enum(u"SkinFormtype", &T::SkinFormtype, &T::SetSkinFormtype, kSkinFormTypeInfo)
          .Str(u"Version", &T::Version, &T::SetVersion)
          .Bool(u"MenuUpdate", &T::MenuUpdate, &T::SetMenuUpdate)
          .Bool(u"MenuMerge", &T::MenuMerge, &T::SetMenuMerge)
          .Done();
  return info;
}

// Everything a load replaces, as a component without a skin has it.
struct TCustomSkinData::TLoadedSkin {
  TLoadedSkin()
      : Title(std::make_unique<TDataSkinTitle>(u"Title")), Button(std::make_unique<TDataSkinButton>(u"Buttons")) {
    static const char16_t* const kBorderNames[] = {u"Left", u"Right", u"Top", u"Bottom"};
    for (int i = 1; i <= 4; ++i)
      border[static_cast<size_t>(i)] = std::make_unique<TDataSkinBorder>(kBorderNames[i - 1]);
  }
  String SkinName;
  TShemeColors Colors{};
  std::array<bool, 20> hasColors{};
  std::vector<TColor> ColorPreset;
  std::array<TColor, 10> PresetColors{};
  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysBtn;
  std::unique_ptr<TDataSkinButton> Button;
  std::array<std::unique_ptr<TDataSkinBorder>, 5> border;
  std::unique_ptr<TDataSkinBorder> tab, HSpin, VSpin, combox, progress;
  std::unique_ptr<TDataSkinObject> Comboxborder, ExtraImages, comboxarrow, Box, Toolbar, Toolbarbtn, progresschunk,
      StatusBar, TabSheet, Header, Menubar, MenuItem, MenuitemBG, SArrow, HBar, VBar, HSlider, VSlider, TrackHorz,
      TrackVert, TrackBar, TrackBarVert, TrackLeft, Trackright, Tracktop, Trackbottom, MinCaption;
  std::unique_ptr<TDataSkinBoxLabel> boxlabel;
};

TCustomSkinData::TCustomSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      f3rdControls(new TStringList),
      data(new TMemoryStream),
      SysIcon(std::make_unique<TBitmap>()) {
  for (const String& line : DefaultSkin3rd()) f3rdControls->Add(line);
  TLoadedSkin none;
  SwapSkin(none);
  fSkinOptions = SetOf({xoPreview, xoToolbarBK, xoCaptionButtonHint});
  FContainers = (1u << (xccPageScroller + 1)) - 1;
  FSkinControls = ((1u << (xcFastReport + 1)) - 1) & ~SetOf({xcMenuItem, xcFastReport});
  fversion = u"5.40.07.15";
}

TCustomSkinData::~TCustomSkinData() {
  delete f3rdControls;
  delete data;
}

void TCustomSkinData::SetActive(bool Value) { factive = Value; }

void TCustomSkinData::SetSkin3rd(TStrings* v) {
  if (v) f3rdControls->Assign(*v);
}

String TCustomSkinData::SkinStore() const { return Designing() && data->Size() > 0 ? u"(Good)" : u"(none)"; }

void TCustomSkinData::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      u"SkinStream",
      [this](TStream& s) {
        uint8_t n4[4];
        if (s.Read(n4, 4) != 4) throw EReadError(u"SkinStream has no byte count");
        const int32_t n = static_cast<int32_t>(uint32_t{n4[0]} | (uint32_t{n4[1]} << 8) | (uint32_t{n4[2]} << 16) |
                                               (uint32_t{n4[3]} << 24));
        if (n <= 0) return;
        // A count beyond the bytes present would read past the property.
        if (n > s.Size() - s.Position()) throw EReadError(u"SkinStream holds fewer bytes than its count");
        if (Designing()) {
          data->Clear();
          data->CopyFrom(s, n);
        } else {
          LoadData([&](TMemoryStream& m) { m.CopyFrom(s, n); });
        }
      },
      [this](TStream& s) {
        const uint32_t n = static_cast<uint32_t>(data->Size());
        const uint8_t n4[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                               static_cast<uint8_t>(n >> 24)};
        s.WriteBuffer(n4, 4);
        if (n) s.CopyFrom(*data, 0);
      },
      true);
}

// ---------------------------------------------------------------------------
// Loading

// Each load starts by setting Empty (LoadSkinData does); LoadData sees the
// value from before, to give it back should the load raise.
void TCustomSkinData::LoadFromFile(const String& FileName) {
  fskinfile = FileName;
  if (Designing()) {
    Empty = true;
    if (!FileName.empty() && data->Size() > 0) data->Clear();
    return;
  }
  if (!FileExists(FileName)) {
    Empty = true;
    return;
  }
  if (LoadData([&](TMemoryStream& m) { m.LoadFromFile(FileName); })) SkinReloaded();
}

void TCustomSkinData::LoadFromStream(TStream& Stream) {
  if (LoadData([&](TMemoryStream& m) { m.CopyFrom(Stream, 0); }) && ftype == sfMainform) SkinReloaded();
}

void TCustomSkinData::LoadFromCollection(TSkinStore* astore, int aindex) {
  if (!astore || aindex >= astore->Store()->Count()) return;
  if (aindex < 0) throw EListError(u"List index out of bounds (" + IntToStr(aindex) + u")");
  TMemoryStream* item = astore->Store()->Items(aindex)->Data();
  item->SetPosition(0);
  if (LoadData([&](TMemoryStream& m) { m.CopyFrom(*item, 0); })) SkinReloaded();
}

// A load that raises gives back the previous bytes and state with the
// previous skin (LoadSkinData keeps that); one that finds no archive it can
// read keeps the new bytes, the old elements and Empty true, and tells no
// window: they stay on the skin they have.
bool TCustomSkinData::LoadData(const std::function<void(TMemoryStream&)>& fill) {
  const bool wasEmpty = Empty;
  Empty = true;
  auto incoming = std::make_unique<TMemoryStream>();
  try {
    fill(*incoming);
  } catch (...) {
    Empty = wasEmpty;
    throw;
  }
  TMemoryStream* previous = data;
  data = incoming.release();
  try {
    const bool read = LoadSkinData();
    delete previous;
    return read;
  } catch (...) {
    delete data;
    data = previous;
    Empty = wasEmpty;
    throw;
  }
}

void TCustomSkinData::SwapSkin(TLoadedSkin& k) {
  using std::swap;
  swap(SkinName, k.SkinName), swap(Colors, k.Colors), swap(hasColors, k.hasColors);
  swap(ColorPreset, k.ColorPreset), swap(PresetColors, k.PresetColors);
  swap(Title, k.Title), swap(SysBtn, k.SysBtn), swap(Button, k.Button), swap(border, k.border);
  swap(tab, k.tab), swap(HSpin, k.HSpin), swap(VSpin, k.VSpin), swap(combox, k.combox), swap(progress, k.progress);
  swap(Comboxborder, k.Comboxborder), swap(ExtraImages, k.ExtraImages), swap(comboxarrow, k.comboxarrow);
  swap(Box, k.Box), swap(Toolbar, k.Toolbar), swap(Toolbarbtn, k.Toolbarbtn), swap(progresschunk, k.progresschunk);
  swap(StatusBar, k.StatusBar), swap(TabSheet, k.TabSheet), swap(Header, k.Header), swap(Menubar, k.Menubar);
  swap(MenuItem, k.MenuItem), swap(MenuitemBG, k.MenuitemBG), swap(SArrow, k.SArrow), swap(HBar, k.HBar);
  swap(VBar, k.VBar), swap(HSlider, k.HSlider), swap(VSlider, k.VSlider), swap(TrackHorz, k.TrackHorz);
  swap(TrackVert, k.TrackVert), swap(TrackBar, k.TrackBar), swap(TrackBarVert, k.TrackBarVert);
  swap(TrackLeft, k.TrackLeft), swap(Trackright, k.Trackright), swap(Tracktop, k.Tracktop);
  swap(Trackbottom, k.Trackbottom), swap(MinCaption, k.MinCaption), swap(boxlabel, k.boxlabel);
}

bool TCustomSkinData::LoadSkinData() {
  Empty = true;
  if (Designing()) return false;
  TSkinReader archive;
  TMemoryStream member;
  if (!archive.Loadfromstream(*data)) return false;
  TQuickIni description;
  String fname;
  archive.readIni(u".ini", member, fname);
  member.SetPosition(0);
  description.LoadFromStream(&member);
  TSkinPictures decoded(archive);
  decoded.CheckBudget(description);
  struct Session {
    TCustomSkinData& d;
    ~Session() { d.ini = nullptr, d.pictures = nullptr; }
  } session{*this};
  ini = &description;
  pictures = &decoded;
  // The new skin is read into fresh elements; the old ones stay whole
  // beside it until it is complete.
  TLoadedSkin old;
  SwapSkin(old);
  try {
    ReadSkinIni();
  } catch (...) {
    SwapSkin(old);
    Empty = true;
    throw;
  }
  SkinSwapped();
  return true;
}

void TCustomSkinData::Readbmp(TBitmap& bmp, StringView fname) {
  const String name = PictureMemberName(fname);
  if (!pictures || name.empty()) {
    bmp.Clear();
    return;
  }
  pictures->Load(bmp, name);
}

String TCustomSkinData::ReadStr(StringView section, StringView key) const {
  return ini->ReadString(section, key, u"");
}

int TCustomSkinData::ReadInt(StringView section, StringView key, int def) const {
  return ini->ReadInteger(section, key, def);
}

TColor TCustomSkinData::ReadRGB(StringView section, StringView key, TColor def) const {
  const String v = ReadStr(section, key);
  return v.empty() ? def : StrToRGB(v);
}

void TCustomSkinData::ReadSkinIni() {
  SkinName = ReadStr(u"TitlebarSkin", u"SkinName");
  ReadBorders();
  ReadColors();
  ReadSysButtons();
  ReadButtons();
  ReadTitle();
  ReadBitmapObject(progress, u"Progress");
  ReadSkinObject(progresschunk, u"Progress.Chunk");
  ReadMenuBar(Menubar, u"Personality");
  ReadSkinObject(Box, u"GroupBoxEdge");
  ReadBoxLabel(boxlabel, u"GroupBox");
  ReadSkinBorder(tab, u"Tabs", u"Border");
  ReadSkinObject(StatusBar, u"StatusBarEdges");
  ReadSkinObject(TabSheet, u"Tab.Pane");
  if (TabSheet) {
    TRect& r = TabSheet->r;
    for (int32_t* m : {&r.Left, &r.Top, &r.Right, &r.Bottom})
      if (*m > 4) *m = 4;
  }
  ReadSkinObject(Toolbarbtn, u"ToolBars");
  ReadSkinBorder(combox, u"ComboButton", u"****");
  ReadSkinObject(Comboxborder, u"SunkEdge");
  if (combox && !combox->Map->Empty()) {
    combox->MaskMap->Assign(*combox->Map);
    combox->MaskMap->SetPixelFormat(pf24bit);
    MirrorBitmap(*combox->MaskMap);
  }
  const std::pair<std::unique_ptr<TDataSkinObject>*, const char16_t*> generic[] = {
      {&ExtraImages, u"ExtraImages"},         {&Header, u"Headerbar"},
      {&MenuItem, u"MenuItem"},               {&MenuitemBG, u"MenuBackground"},
      {&SArrow, u"Scrollbar"},                {&HBar, u"HorzScroll"},
      {&VBar, u"VertScroll"},                 {&HSlider, u"HorzScrollThumb"},
      {&VSlider, u"VertScrollThumb"},         {&TrackHorz, u"Trackbar.ThumbHorz"},
      {&TrackVert, u"Trackbar.ThumbVert"},    {&TrackLeft, u"Trackbar.ThumbLeft"},
      {&Trackright, u"Trackbar.ThumbRight"},  {&Tracktop, u"Trackbar.ThumbUp"},
      {&Trackbottom, u"Trackbar.ThumbDown"}};
  for (const auto& [field, section] : generic) ReadSkinObject(*field, section);
  ReadSkinBorder(HSpin, u"UpDown.Horz", u"GlyphImage");
  ReadSkinBorder(VSpin, u"UpDown.Vert", u"GlyphImage");
  ReadSkinObject(TrackBar, u"Track");
  ReadSkinObject(TrackBarVert, u"TRACKVERT");
  if (!TrackBar) LoadResourceObject(TrackBar, u"TRACK");
  if (!TrackBarVert) LoadResourceObject(TrackBarVert, u"TRACKVERT");
  SetFrameDefaults();
  MakeComboImages();
  MakeComboArrow();
  MakeToolbarImage();
  Colors[scCaption] = GetCaptionColor();
  SkinParsed();
  Empty = false;
}

void TCustomSkinData::ReadBorders() {
  static const char16_t* const kNames[] = {u"Left", u"Right", u"Top", u"Bottom"};
  const StringView S = u"Personality";
  for (int i = 1; i <= 4; ++i) {
    TDataSkinBorder& b = *border[static_cast<size_t>(i)];
    const String N = kNames[i - 1];
    const int fixedStart = ReadInt(S, N + u"TopHeight", 0), fixedEnd = ReadInt(S, N + u"BotHeight", 0);
    if (i <= 2) b.r = Rect(0, fixedStart, 0, fixedEnd);
    else b.r = Rect(fixedStart, 0, fixedEnd, 0);
    b.frame = ReadInt(S, N + u"Frame", 1);
    b.Tile = ReadInt(S, N + u"Stretch", 1);
    b.trans = ReadInt(S, N + u"Trans", 1);
    Readbmp(*b.Map, ReadStr(S, N));
    if (b.Tile > 1) b.Tile = 1;
  }
}

void TCustomSkinData::ReadColors() {
  auto sys = [](int index) { return static_cast<TColor>(clSystemColor | index); };
  const StringView S = u"Colours";
  struct Key {
    TSchemeColor slot;
    const char16_t* key;
    TColor def;  // 0: the value of the button face
  };
  const Key keys[] = {{scWindowText, u"WindowText", sys(8)},
                      {scButtonFace, u"ButtonFace", sys(15)},
                      {scScrollbar, u"Scrollbar", sys(0)},
                      {scHilightText, u"HilightText", sys(14)},
                      {scHilight, u"Hilight", sys(13)},
                      {scMenubar, u"Menubar", 0},
                      {scMenu, u"Menu", sys(4)},
                      {scMenuText, u"MenuText", sys(7)},
                      {scButtonText, u"ButtonText", sys(18)},
                      {scButtonHilight, u"ButtonHilight", sys(20)},
                      {scButtonlight, u"Buttonlight", sys(20)},
                      {scButtonShadow, u"ButtonShadow", sys(16)},
                      {scButtonDkShadow, u"ButtonDkShadow", sys(21)},
                      {scMenuBarText, u"MenuBarText", sys(7)},
                      {scTitleTextActive, u"TitleTextActive", sys(9)},
                      {scTitleTextNoActive, u"TitleTextNoActive", sys(19)}};
  for (const Key& k : keys) {
    const String v = ReadStr(S, k.key);
    hasColors[k.slot] = !v.empty();
    Colors[k.slot] = !v.empty() ? StrToRGB(v) : (k.slot == scMenubar ? Colors[scButtonFace] : k.def);
  }
  TStringList sections;
  ini->ReadSections(&sections);
  ColorPreset.clear();
  for (int i = 0; i < sections.Count(); ++i) {
    const String U = UpperCase(sections[i]);
    if (U.rfind(u"COLOUR", 0) == 0 && U != u"COLOURS") ColorPreset.push_back(ReadRGB(U, u"color", sys(8)));
  }
  for (int i = 0; i < 10; ++i)
    PresetColors[static_cast<size_t>(i)] = ReadRGB(u"Customcolors", u"Color" + IntToStr(i), 0xFFFFFF);
}

void TCustomSkinData::ReadSysButtons() {
  SysBtn.clear();
  TStringList sections;
  ini->ReadSections(&sections);
  std::vector<String> kept;
  String lastExamined;
  for (int i = sections.Count() - 1; i >= 0; --i) {
    const String U = UpperCase(sections[i]);
    lastExamined = U;
    if (U == u"BUTTONS" || U == u"BUTTON.RADIO" || U == u"BUTTON.CHECKBOX" || U == u"BUTTON") continue;
    if (U.rfind(u"BUTTON", 0) != 0) continue;
    if (ReadInt(U, u"Action", 0) == -1 && ReadInt(U, u"Visibility", -1) != 0) continue;
    kept.insert(kept.begin(), U);
  }
  // An Action-4 button takes the place of the last maximise button shown in
  // the normal state; before any such button it sits at the origin.
  TPoint maxPlace;
  for (const String& U : kept) {
    auto b = std::make_unique<TDataSkinSysButton>(U);
    lastExamined = U;
    b->Action = ReadInt(U, u"Action", 0);
    b->Align = ReadInt(U, u"Align", 0);
    b->XCoord = ReadInt(U, u"Xcoord", 0);
    b->YCoord = ReadInt(U, u"Ycoord", 0);
    b->Visibility = ReadInt(U, u"Visibility", 0);
    b->Visibility1 = ReadInt(U, u"Visibility1", b->Action == -1 ? -1 : 0);
    if (b->Action == 1 && b->Visibility == 2) maxPlace = TPoint{b->XCoord, b->YCoord};
    if (b->Action == 4) b->XCoord = maxPlace.X, b->YCoord = maxPlace.Y;
    b->CombineOp = ReadInt(U, u"CombineOp", -1);
    b->frame = ReadInt(U, u"frame", 0);
    Readbmp(*b->Map, ReadStr(U, u"ButtonImage"));
    if (b->frame == 0) {
      b->frame = 6;
      if (!b->Map->Empty())
        b->frame = static_cast<double>(b->Map->Width()) / b->Map->Height() <= 3.8 ? 3 : 6;
      if (b->Action < 0) b->frame = 6;
      if (b->Action == 3 || b->Action == 11) b->Map->Clear();
    }
    SysBtn.push_back(std::move(b));
  }
  const int first = static_cast<int>(SysBtn.size());
  for (int action : {7, 8, 9}) {
    auto b = std::make_unique<TDataSkinSysButton>(lastExamined);
    b->Action = action;
    b->Align = 100;
    b->Visibility = 100;
    b->Visibility1 = 100;
    b->frame = 4;
    SysBtn.push_back(std::move(b));
  }
  ReadMDIControls(first);
}

void TCustomSkinData::ReadMDIControls(int first) {
  TBitmap cells;
  Readbmp(cells, ReadStr(u"MDICONTROLS", u"Image"));
  if (cells.Empty()) return;
  const int a = cells.Width() / 12, h = cells.Height();
  for (int j = 0; j < 3; ++j) {
    TDataSkinSysButton& b = *SysBtn[static_cast<size_t>(first + j)];
    b.Map->SetPixelFormat(cells.PixelFormat());
    b.Map->SetSize(4 * a, h);
    StretchCopy(*b.Map, Rect(0, 0, 4 * a, h), cells, Rect(4 * j * a, 0, (4 * j + 4) * a, h));
    b.XCoord = (a + 4) * (3 - j);
  }
}

void TCustomSkinData::ReadButtons() {
  const StringView S = u"Buttons";
  TDataSkinButton& b = *Button;
  b.r.Left = ReadInt(S, u"LeftWidth", 0);
  b.r.Right = ReadInt(S, u"RightWidth", 0);
  b.r.Top = ReadInt(S, u"TopHeight", 0);
  b.r.Bottom = ReadInt(S, u"BottomHeight", 0);
  b.trans = ReadInt(S, u"Trans", 0);
  Readbmp(*b.Map, ReadStr(S, u"Bitmap"));
  b.Tile = ReadInt(S, u"Tile", 0);
  Readbmp(*b.CheckMap, ReadStr(S, u"CheckButton"));
  Readbmp(*b.RadioMap, ReadStr(S, u"RadioButton"));
  b.radioframe = ReadInt(S, u"RadioButtonFrame", 0);
  b.checkframe = ReadInt(S, u"CheckButtonFrame", 0);
  if (b.Tile > 1) b.Tile = 0;
  b.newnormal = !ReadStr(S, u"NormalColour2").empty();
  b.newover = !ReadStr(S, u"MouseOverColour2").empty();
  b.newdown = !ReadStr(S, u"PressedColour2").empty();
  ReadColourKeys(b, S);
}

void TCustomSkinData::ReadTitle() {
  const StringView S = u"Personality";
  TDataSkinTitle& t = *Title;
  Readbmp(*t.Map, ReadStr(S, u"TextBack"));
  t.r = Rect(ReadInt(S, u"TextShift", 0), ReadInt(S, u"TextShiftVert", 0), ReadInt(S, u"TextRightClip", 0), 0);
  t.Aligment = ReadInt(S, u"TextAlignment", 0);
  t.BackGround = ReadInt(S, u"Textbackground", 0);
  t.FontHeight = ReadInt(u"Fonts", u"FontHeight", 14);
  t.backleft = ReadInt(S, u"TXTBackleft", 0);
  t.backright = ReadInt(S, u"TXTBackRight", 0);
  t.activetext = clNone;
  t.inactivetext = clNone;
  ReadRGBKeys(S, u"ActiveText", t.activetext);
  ReadRGBKeys(S, u"InActiveText", t.inactivetext);
}

void TCustomSkinData::ReadRGBKeys(StringView section, StringView prefix, TColor& colour) {
  const String p(prefix);
  const int r = ReadInt(section, p + u"R", -1), g = ReadInt(section, p + u"G", -1), b = ReadInt(section, p + u"B", -1);
  if (r >= 0 && g >= 0 && b >= 0)
    colour = static_cast<TColor>(RGBColor(static_cast<unsigned>(r), static_cast<unsigned>(g), static_cast<unsigned>(b)));
}

void TCustomSkinData::ReadColourKeys(TDataSkinObject& o, StringView section) {
  o.Normalcolor = ReadInt(section, u"NormalColour", -1);
  o.Overcolor = ReadInt(section, u"MouseOverColour", -1);
  o.Downcolor = ReadInt(section, u"PressedColour", -1);
  o.Normalcolor2 = ReadRGB(section, u"NormalColour2", Colors[scButtonText]);
  o.Overcolor2 = ReadRGB(section, u"MouseOverColour2", Colors[scButtonText]);
  o.Downcolor2 = ReadRGB(section, u"PressedColour2", Colors[scButtonText]);
}

// The keys every generic reader shares, in the order it reads them.
void TCustomSkinData::ReadObjectKeys(TDataSkinObject& o, StringView section, bool withFrame) {
  o.style = ReadInt(section, u"Style", 0);
  o.r.Left = ReadInt(section, u"LeftWidth", 0);
  o.r.Right = ReadInt(section, u"RightWidth", 0);
  o.r.Top = ReadInt(section, u"TopHeight", 0);
  o.r.Bottom = ReadInt(section, u"BottomHeight", 0);
  if (withFrame) o.frame = ReadInt(section, u"Frame", 0);
  o.trans = ReadInt(section, u"Trans", 0);
  o.Tile = ReadInt(section, u"Tile", 0);
}

void TCustomSkinData::ReadSkinObject(std::unique_ptr<TDataSkinObject>& field, StringView section) {
  field.reset();
  const String image = ReadStr(section, u"Image");
  if (image.empty()) return;
  auto o = std::make_unique<TDataSkinObject>(section);
  Readbmp(*o->Map, image);
  ReadObjectKeys(*o, section, true);
  ReadColourKeys(*o, section);
  if (o->Tile > 1) o->Tile = 0;
  field = std::move(o);
}

void TCustomSkinData::ReadSkinBorder(std::unique_ptr<TDataSkinBorder>& field, StringView section,
                                     StringView secondKey) {
  field.reset();
  const String image = ReadStr(section, u"Image");
  if (image.empty()) return;
  auto o = std::make_unique<TDataSkinBorder>(section);
  Readbmp(*o->Map, image);
  const String second = ReadStr(section, secondKey);
  if (!second.empty()) Readbmp(*o->MaskMap, second);
  ReadObjectKeys(*o, section, false);
  ReadColourKeys(*o, section);
  if (o->Tile > 1) o->Tile = 0;
  field = std::move(o);
}

void TCustomSkinData::ReadBitmapObject(std::unique_ptr<TDataSkinBorder>& field, StringView section) {
  field.reset();
  const String image = ReadStr(section, u"Bitmap");
  if (image.empty()) return;
  auto o = std::make_unique<TDataSkinBorder>(section);
  Readbmp(*o->Map, image);
  ReadObjectKeys(*o, section, false);
  if (o->Tile > 1) o->Tile = 1;
  field = std::move(o);
}

void TCustomSkinData::ReadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& field, StringView section) {
  field.reset();
  const String image = ReadStr(section, u"Image");
  if (image.empty()) return;
  auto o = std::make_unique<TDataSkinBoxLabel>(section);
  Readbmp(*o->Map, image);
  ReadObjectKeys(*o, section, false);
  ReadColourKeys(*o, section);
  if (o->Tile > 1) o->Tile = 0;
  o->Alignment = ReadInt(section, u"BackgroundAlignment", 0);
  o->LeftShift = ReadInt(section, u"BackgroundLeftShift", 0);
  o->RightShift = ReadInt(section, u"BackgroundRightShift", 0);
  field = std::move(o);
}

void TCustomSkinData::ReadMenuBar(std::unique_ptr<TDataSkinObject>& field, StringView section) {
  field.reset();
  const String image = ReadStr(section, u"menuBar");
  if (image.empty()) return;
  auto o = std::make_unique<TDataSkinObject>(u"Personality");
  Readbmp(*o->Map, image);
  o->r.Top = 0;
  o->r.Bottom = 0;
  o->Tile = ReadInt(section, u"TileMenu", 1);
  o->r.Left = ReadInt(section, u"TileLeftMenu", 1);
  o->r.Right = ReadInt(section, u"TileRightMenu", 1);
  if (o->Tile > 1) o->Tile = 1;
  field = std::move(o);
}

void TCustomSkinData::LoadResourceObject(std::unique_ptr<TDataSkinObject>& field, StringView name) {
  field.reset();
  auto o = std::make_unique<TDataSkinObject>(name);
  LoadBuiltinBitmap(*o->Map, name);
  o->r = Rect(3, 3, 3, 3);
  o->Tile = 0;
  o->frame = 1;
  field = std::move(o);
}

void TCustomSkinData::SetFrameDefaults() {
  TDataSkinButton& b = *Button;
  b.frame = 5;
  auto strip = [](const TBitmap& map) { return std::max(4, map.Width() / (map.Height() < 16 ? 13 : 16)); };
  if (b.radioframe == 0) b.radioframe = strip(*b.RadioMap);
  if (b.checkframe == 0) b.checkframe = strip(*b.CheckMap);
  Title->frame = 2;
  if (progress) progress->frame = progress->style == 0 ? 2 : 1;
  auto set = [](TDataSkinObject* o, int frames) {
    if (o) o->frame = frames;
  };
  set(Menubar.get(), 2);
  set(Box.get(), 2);
  set(Toolbar.get(), 1);
  set(Toolbarbtn.get(), 5);
  set(tab.get(), 5);
  set(TabSheet.get(), 1);
  set(boxlabel.get(), 1);
  set(StatusBar.get(), 3);
  set(combox.get(), 4);
  set(Comboxborder.get(), 4);
  set(ExtraImages.get(), 5);
  if (Header && Header->frame == 0) Header->frame = 5;
  set(MenuItem.get(), 5);
  set(MenuitemBG.get(), 1);
  set(SArrow.get(), 23);
  set(HBar.get(), 4);
  set(VBar.get(), 4);
  set(VSpin.get(), 8);
  set(HSpin.get(), 8);
  for (auto* t : {&TrackHorz, &TrackVert, &TrackLeft, &Trackright, &Tracktop, &Trackbottom}) set(t->get(), 5);
  if (HSlider) HSlider->frame = ReadInt(u"HorzScrollThumb", u"FrameCount", 3);
  if (VSlider) VSlider->frame = ReadInt(u"VertScrollThumb", u"FrameCount", 3);
}

void TCustomSkinData::MakeComboImages() {
  if (!Comboxborder || !combox) return;
  const int F = Comboxborder->frame, bw = HScrollArrowWidth() + 2;
  TBitmap cell, strip;
  cell.SetSize(50, 21);
  FillRect(cell, Rect(0, 0, 50, 21), kSkinKeyColor);
  strip.SetSize(50 * F, 21);
  FillRect(strip, Rect(0, 0, 50 * F, 21), kSkinKeyColor);
  const TRect button = Rect(50 - bw, 0, 50, 21);
  for (int k = 1; k <= F; ++k) {
    DrawSkinImage(cell, Rect(0, 0, 50, 21), *Comboxborder->Map, false, false, Comboxborder->trans != 0, F, k,
                  Comboxborder->r);
    DrawSkinImage(cell, button, *combox->Map, false, false, true, combox->frame, k, combox->r);
    if (ExtraImages) DrawSkinFrameCentered(cell, button, *ExtraImages->Map, true, ExtraImages->frame, k);
    FillRect(cell, Rect(2, 2, 49 - bw, 18), kSkinKeyColor);
    StretchCopy(strip, Bounds((k - 1) * 50, 0, 50, 21), cell, Rect(0, 0, 50, 21));
  }
  combox->style = 2;
  combox->r = Comboxborder->r;
  combox->r.Left = 2;
  combox->r.Right = bw + 2;
  combox->Map->Assign(strip);
  MirrorBitmap(strip);
  Comboxborder->Map->Assign(strip);
  Comboxborder->r.Left = bw + 2;
  Comboxborder->r.Right = 2;
}

void TCustomSkinData::MakeComboArrow() {
  if (!comboxarrow) comboxarrow = std::make_unique<TDataSkinObject>(u"ComboxArrow");
  if (!Comboxborder && combox) {
    comboxarrow->Map->Assign(*combox->Map);
    // The face colour resolved: a system colour reference taken as bytes
    // would paint the arrow's background near black.
    ReplaceKeyColor(*comboxarrow->Map, static_cast<TColor>(ColorToRGB(Colors[scButtonFace])));
    comboxarrow->frame = combox->frame;
  } else if (Comboxborder && combox && combox->style == 2) {
    // Without "ComboButton" there is nothing to cut: the arrow stays.
    const int F = std::max(1, Comboxborder->frame);
    const int w = combox->Map->Width() / F;
    TBitmap arrow;
    arrow.SetSize(17 * F, 17);
    for (int k = 1; k <= F; ++k)
      StretchCopy(arrow, Bounds((k - 1) * 17, 0, 17, 17), *combox->Map, Rect(k * w - 19, 2, k * w - 2, 19));
    comboxarrow->Map->Assign(arrow);
    comboxarrow->frame = F;
  }
}

void TCustomSkinData::MakeToolbarImage() {
  const TColor cap = GetCaptionColor();
  const TColor top = Blend(Colors[scButtonFace], 0xFFFFFF, 150);
  TColor bottom = Blend(0x808080, cap, 150);
  const int s = ColorSaturation(cap);
  if (s > 110) bottom = Blend(cap, 0xFFFFFF, ((225 - s) * 25) / 140 + 50);
  TBitmap bmp;
  bmp.SetSize(10, 40);
  GradientFillBitmap(bmp, Rect(0, 0, 10, 40), top, true, bottom);
  if (!Toolbar) Toolbar = std::make_unique<TDataSkinObject>(u"Toolbar");
  Toolbar->Map->Assign(bmp);
  Toolbar->frame = 1;
}

TColor TCustomSkinData::GetCaptionColor() const {
  const TDataSkinBorder& top = *border[3];
  if (top.Map->Empty()) return Colors[scButtonFace];
  // A frame count of 0 or less from the skin counts as one image.
  const int frames = std::max(1, top.frame);
  return top.Map->Pixel(top.Map->Width() / 3, (top.Map->Height() / frames) / 3);
}

bool TCustomSkinData::GetPrecolor(TColor& acolor, int n) const {
  if (n < 0 || n >= static_cast<int>(ColorPreset.size())) return false;
  acolor = ColorPreset[static_cast<size_t>(n)];
  return true;
}

String TCustomSkinData::GetFileName(StringView s) {
  const size_t dot = s.find(u'.');
  if (dot == StringView::npos || dot == 0) return String();
  return String(s.substr(0, dot));
}

void TCustomSkinData::DoDebug(StringView s) {
  if (DebugList) DebugList->Add(s);
}

std::vector<const TDataSkinObject*> TCustomSkinData::Elements() const {
  std::vector<const TDataSkinObject*> out;
  auto add = [&](const TDataSkinObject* o) {
    if (o) out.push_back(o);
  };
  add(Title.get());
  add(Button.get());
  const std::initializer_list<const TDataSkinObject*> kinds = {
      tab.get(),         HSpin.get(),      VSpin.get(),      Comboxborder.get(), ExtraImages.get(), combox.get(),
      comboxarrow.get(), Box.get(),        Toolbar.get(),    Toolbarbtn.get(),   progress.get(),    progresschunk.get(),
      boxlabel.get(),    StatusBar.get(),  TabSheet.get(),   Header.get(),       Menubar.get(),     MenuItem.get(),
      MenuitemBG.get(),  SArrow.get(),     HBar.get(),       VBar.get(),         HSlider.get(),     VSlider.get(),
      TrackHorz.get(),   TrackVert.get(),  TrackBar.get(),   TrackBarVert.get(), TrackLeft.get(),   Trackright.get(),
      Tracktop.get(),    Trackbottom.get(), MinCaption.get()};
  for (const TDataSkinObject* o : kinds)
    add(o);
  for (int i = 1; i <= 4; ++i) add(border[static_cast<size_t>(i)].get());
  for (const auto& b : SysBtn) add(b.get());
  return out;
}

}  // namespace qv

#include "platform/win/Picture.h"

#include <wincodec.h>

#include "platform/core/FileUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/SystemProc.h"

namespace qv {

namespace {

// Releases a COM interface when it goes out of scope.
template <class I>
struct ComRef {
  I* p = nullptr;
  ~ComRef() {
    if (p) p->Release();
  }
  I** operator&() { return &p; }
  I* operator->() const { return p; }
};

[[noreturn]] void Invalid() { throw EInvalidGraphic(u"Invalid PNG image"); }

// The COM entries, from ole32 on the first decode: the program itself shows
// no PNG picture, and ole32 brings several more libraries in with it.
struct Com {
  using InitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
  using UninitializeFn = void(WINAPI*)();
  using CreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  InitializeExFn initializeEx = SystemProc<InitializeExFn>(L"ole32.dll", "CoInitializeEx");
  UninitializeFn uninitialize = SystemProc<UninitializeFn>(L"ole32.dll", "CoUninitialize");
  CreateInstanceFn createInstance = SystemProc<CreateInstanceFn>(L"ole32.dll", "CoCreateInstance");
};

// Decodes with the imaging component into premultiplied BGRA rows.
void DecodePng(const std::string& bytes, TBitmap& out) {
  static const Com com;
  if (!com.initializeEx || !com.uninitialize || !com.createInstance) Invalid();
  const HRESULT init = com.initializeEx(nullptr, COINIT_APARTMENTTHREADED);
  struct Uninit {
    bool on;
    ~Uninit() {
      if (on) com.uninitialize();
    }
  } uninit{SUCCEEDED(init)};
  ComRef<IWICImagingFactory> factory;
  if (FAILED(com.createInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
    Invalid();
  ComRef<IWICStream> stream;
  if (bytes.empty() || FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))))
    Invalid();
  ComRef<IWICBitmapDecoder> decoder;
  GUID format{};
  if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetContainerFormat(&format)) || format != GUID_ContainerFormatPng)
    Invalid();
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  UINT w = 0, h = 0;
  if (FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > 0x4000 || h > 0x4000)
    Invalid();
  TBitmap decoded;
  decoded.SetPixelFormat(pf32bit);
  decoded.SetSize(static_cast<int>(w), static_cast<int>(h));
  // The bitmap's rows lie top-down, one stride apart: the decoder fills them in place.
  const UINT stride = static_cast<UINT>(decoded.RowBytes());
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * h, decoded.ScanLine(0)))) Invalid();
  out.Assign(decoded);
}

}  // namespace

// --- TGraphic, TPngImage ------------------------------------------------------

const TClassInfo& TGraphic::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TGraphic>(u"TGraphic", TPersistent::StaticClass()).Done();
  return info;
}

const TClassInfo& TPngImage::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TPngImage>(u"TPngImage", TGraphic::StaticClass()).Done();
  return info;
}

TPngImage::TPngImage() : pixels_(std::make_unique<TBitmap>()) { pixels_->SetPixelFormat(pf32bit); }

TPngImage::~TPngImage() = default;

void TPngImage::Assign(const TPersistent& source) {
  if (auto* png = As<TPngImage>(const_cast<TPersistent*>(&source))) {
    pixels_->Assign(*png->pixels_);
    return;
  }
  TGraphic::Assign(source);
}

void TPngImage::LoadFromBytes(const std::string& bytes) { DecodePng(bytes, *pixels_); }

void TPngImage::LoadFromFile(StringView fileName) {
  const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
  LoadFromBytes(std::string(bytes.begin(), bytes.end()));
}

void TPngImage::Draw(HDC dc, int x, int y) {
  if (Empty() || !dc) return;
  HDC src = BitmapCanvas(*pixels_).Handle();
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, Width(), Height(), src, 0, 0, Width(), Height(), blend);
}

// --- TPicture -----------------------------------------------------------------

const TClassInfo& TPicture::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TPicture>(u"TPicture", TPersistent::StaticClass()).Done();
  return info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(TGraphic* graphic) {
  if (!graphic) {
    graphic_.reset();
    return;
  }
  auto copy = std::make_unique<TPngImage>();
  copy->Assign(*graphic);
  graphic_ = std::move(copy);
}

void TPicture::LoadFromFile(StringView fileName) {
  auto png = std::make_unique<TPngImage>();
  png->LoadFromFile(fileName);
  graphic_ = std::move(png);
}

}  // namespace qv

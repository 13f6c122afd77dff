#include "shell/win32/gif_picture.h"

#include <windows.h>
// (windows.h before the other system headers)

#include <wincodec.h>

#include "shell/win32/scoped.h"

namespace orvane::win {
namespace {

// A number from a metadata query (/imgdesc/Left, /grctlext/Delay, ...), or `fallback`.
int QueryNumber(IWICMetadataQueryReader* reader, const wchar_t* name, int fallback) {
  if (!reader) return fallback;
  ScopedPropVariant holder;
  if (FAILED(reader->GetMetadataByName(name, holder.get()))) return fallback;
  const PROPVARIANT& value = *holder;
  switch (value.vt) {
    case VT_UI1:
      return value.bVal;
    case VT_UI2:
      return value.uiVal;
    case VT_UI4:
      return static_cast<int>(value.ulVal);
    case VT_BOOL:
      return value.boolVal ? 1 : 0;
    default:
      return fallback;
  }
}

std::vector<std::uint32_t> ReadPalette(IWICImagingFactory* factory, IWICBitmapDecoder* decoder,
                                       IWICBitmapFrameDecode* first_frame) {
  std::vector<std::uint32_t> colours;
  ComPtr<IWICPalette> palette;
  if (FAILED(factory->CreatePalette(palette.put()))) return colours;
  if (FAILED(decoder->CopyPalette(palette.get())) &&
      (!first_frame || FAILED(first_frame->CopyPalette(palette.get())))) {
    return colours;
  }
  UINT count = 0;
  palette->GetColorCount(&count);
  std::vector<WICColor> argb(count);
  UINT got = 0;
  if (count == 0 || FAILED(palette->GetColors(count, argb.data(), &got))) return colours;
  for (UINT i = 0; i < got; ++i) colours.push_back(argb[i] & 0x00FFFFFFu);
  return colours;
}

}  // namespace

std::optional<Picture> DecodeGif(ByteView bytes) {
  if (bytes.empty()) return std::nullopt;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory.put_void()))) {
    return std::nullopt;
  }
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                          static_cast<DWORD>(bytes.size())))) {
    return std::nullopt;
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoder(GUID_ContainerFormatGif, nullptr, decoder.put())) ||
      FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnLoad))) {
    return std::nullopt;
  }
  UINT frame_count = 0;
  if (FAILED(decoder->GetFrameCount(&frame_count)) || frame_count == 0) return std::nullopt;

  Picture picture;
  ComPtr<IWICMetadataQueryReader> screen;
  decoder->GetMetadataQueryReader(screen.put());
  ComPtr<IWICBitmapFrameDecode> first;
  if (FAILED(decoder->GetFrame(0, first.put()))) return std::nullopt;
  UINT first_w = 0, first_h = 0;
  first->GetSize(&first_w, &first_h);
  picture.width = QueryNumber(screen.get(), L"/logscrdesc/Width", static_cast<int>(first_w));
  picture.height = QueryNumber(screen.get(), L"/logscrdesc/Height", static_cast<int>(first_h));
  picture.palette = ReadPalette(factory.get(), decoder.get(), first.get());

  for (UINT i = 0; i < frame_count; ++i) {
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(i, frame.put()))) return std::nullopt;
    WICPixelFormatGUID format{};
    frame->GetPixelFormat(&format);
    if (format != GUID_WICPixelFormat8bppIndexed) return std::nullopt;
    ComPtr<IWICMetadataQueryReader> meta;
    frame->GetMetadataQueryReader(meta.put());
    UINT w = 0, h = 0;
    frame->GetSize(&w, &h);
    PictureFrame f;
    f.left = QueryNumber(meta.get(), L"/imgdesc/Left", 0);
    f.top = QueryNumber(meta.get(), L"/imgdesc/Top", 0);
    f.width = QueryNumber(meta.get(), L"/imgdesc/Width", static_cast<int>(w));
    f.height = QueryNumber(meta.get(), L"/imgdesc/Height", static_cast<int>(h));
    if (f.width != static_cast<int>(w) || f.height != static_cast<int>(h)) {
      f.width = static_cast<int>(w);
      f.height = static_cast<int>(h);
    }
    f.delay_ms = QueryNumber(meta.get(), L"/grctlext/Delay", 0) * 10;
    f.disposal = QueryNumber(meta.get(), L"/grctlext/Disposal", 0);
    if (QueryNumber(meta.get(), L"/grctlext/TransparencyFlag", 0)) {
      f.transparent_index = QueryNumber(meta.get(), L"/grctlext/TransparentColorIndex", -1);
    }
    f.indices.resize(static_cast<std::size_t>(w) * h);
    if (!f.indices.empty() &&
        FAILED(
            frame->CopyPixels(nullptr, w, static_cast<UINT>(f.indices.size()), f.indices.data()))) {
      return std::nullopt;
    }
    picture.frames.push_back(std::move(f));
  }
  return picture;
}

ByteView ResourceBytes(const char* name) {
  const HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);  // resources live as long as the module
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const unsigned char*>(data), SizeofResource(module, found)};
}

}  // namespace orvane::win

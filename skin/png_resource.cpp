#include "skin/png_resource.h"

#include <gdiplus.h>

#include "skin/com_stream.h"
#include "skin/global_memory.h"

HMODULE PictureResourceModule() { return GetModuleHandleW(nullptr); }

CPngImage LoadImageResource(HMODULE module, UINT id, const wchar_t* type) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!resource) return {};
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {};

  // GDI+ reads from the stream for as long as the image lives, so the stream (and through
  // delete-on-release the block under it) must belong to the image, not to us.
  CGlobalMemory block(size);
  if (!block.Fill(bytes, size)) return {};
  CComStream stream;
  if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream.Receive()))) return {};
  block.Release();

  CPngImage image(new Gdiplus::Image(stream.Get(), FALSE));
  if (!image || image.Get()->GetLastStatus() != Gdiplus::Ok) return {};
  return image;
}

bool LoadPngResource(UINT id, CPngImage& slot) {
  CPngImage image = LoadImageResource(PictureResourceModule(), id, kPngResourceType);
  if (!image) return false;
  slot = std::move(image);
  return true;
}

// The host's G-code reader: an in-process COM server (zureader.dll) that
// reads a code file by an NC system's description (an XML file) and drives a
// CodeReadBackReceiver. Windows only.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <string>

#include "host/code_reader_receiver.h"

// {6B0C5C11-5F1D-4C8B-9C55-2B1E3A7D0A01}
inline constexpr CLSID kCodeReaderClassId = {
    0x6b0c5c11, 0x5f1d, 0x4c8b, {0x9c, 0x55, 0x2b, 0x1e, 0x3a, 0x7d, 0x0a, 0x01}};
// {6B0C5C11-5F1D-4C8B-9C55-2B1E3A7D0A02}
inline constexpr IID kCodeReaderInterfaceId = {
    0x6b0c5c11, 0x5f1d, 0x4c8b, {0x9c, 0x55, 0x2b, 0x1e, 0x3a, 0x7d, 0x0a, 0x02}};

// The reader's operations, after IUnknown's three, in this order. The two
// paths are narrow texts in the ANSI code page, passed by value.
class ICodeReader : public IUnknown {
 public:
  // Hands over the receiver the reader drives; the caller keeps it alive
  // until reading has ended.
  virtual HRESULT STDMETHODCALLTYPE SetBuilder(CodeReadBackReceiver* builder) = 0;
  // Reads the whole code file and drives the receiver; returns when reading
  // has ended. Problems in the file are shown to the person at the end.
  virtual HRESULT STDMETHODCALLTYPE ReadCodeFile(std::string code_file) = 0;
  // Loads the NC system's description that governs ReadCodeFile.
  virtual HRESULT STDMETHODCALLTYPE LoadSystem(std::string xml_file) = 0;
};

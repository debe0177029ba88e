// A Japanese code converter library ("nkf32.dll" or "jconv.dll"), loaded by
// file name for one conversion and freed when the object goes. Either
// library may lack any of its entry points; all of them take their
// arguments the Windows API way, and their results are not examined.
#pragma once

namespace platform {

class ConverterLibrary {
public:
    virtual ~ConverterLibrary() = default;

    // nkf32.dll: SetNkfOption(option) and NkfConvert(out, in). NkfConvert
    // writes the converted, zero-terminated text into `out`, which has room
    // for three times the length of `in`.
    virtual bool hasSetNkfOption() = 0;
    virtual void setNkfOption(const char* option) = 0;
    virtual bool hasNkfConvert() = 0;
    virtual void nkfConvert(char* out, const char* in) = 0;

    // jconv.dll: _setjconvopt@4(option) and _jconv@20(0, in, length, 4, out).
    virtual bool hasSetJconvOpt() = 0;
    virtual void setJconvOpt(int option) = 0;
    virtual bool hasJconv() = 0;
    virtual void jconv(int mode, const char* in, int length, int kind, char* out) = 0;
};

}  // namespace platform

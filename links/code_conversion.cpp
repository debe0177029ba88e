// Code conversion of a read file: "nkf32.dll" asked for Shift_JIS output,
// else "jconv.dll". Each library is loaded from the program's folder for
// this one call and freed again; a missing library or entry point leaves
// the text as read.
#include "links/code_conversion.h"

#include "common/app_state.h"
#include "platform/platform.h"

bool convertKanji(LinkSourceText& source) {
    platform::Platform& os = platform::os();
    bool converted = false;
    if (auto nkf = os.loadConverterLibrary(programFolderFile("nkf32.dll"))) {
        if (nkf->hasSetNkfOption()) nkf->setNkfOption("-s");
        if (nkf->hasNkfConvert()) {
            nkf->nkfConvert(source.work(), source.original());
            converted = true;
        }
    }
    if (!converted) {
        if (auto jconv = os.loadConverterLibrary(programFolderFile("jconv.dll"))) {
            if (jconv->hasSetJconvOpt()) jconv->setJconvOpt(0);
            if (jconv->hasJconv()) {
                jconv->jconv(0, source.original(), static_cast<int>(source.originalLength()), 4,
                             source.work());
                converted = true;
            }
        }
    }
    // Whatever a library wrote, the work text ends inside its buffer.
    if (converted && source.workCapacity() > 0) source.work()[source.workCapacity() - 1] = '\0';
    return converted;
}

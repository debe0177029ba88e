// Code conversion of a read file: "nkf32.dll" asked for Shift_JIS output,
// else "jconv.dll". Each library is loaded from the program's folder for
// this one call and freed again; a missing library or entry point leaves
// the text as read. A text that is code page 932 already is what either
// would write: it goes to neither.
#include "links/code_conversion.h"

#include "common/app_state.h"
#include "links/already_cp932.h"
#include "platform/platform.h"

bool convertKanji(LinkSourceText& source) {
    if (isAlreadyCp932(source.text())) return false;
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
    return converted && source.takeConverted();
}

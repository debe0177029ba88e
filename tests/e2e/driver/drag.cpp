// A minimal OLE drag source: a data object that renders text (CF_TEXT, or
// CF_UNICODETEXT and CF_TEXT) or files (CF_HDROP, ANSI or wide), and a drop
// source that drops after a few polls.
#include "tests/e2e/driver/drag.h"

#include <cstring>

#include "tests/e2e/driver/support.h"

namespace driver {

namespace {

// COM objects living on the stack for the one DoDragDrop call.
class DataObject final : public IDataObject {
public:
    DataObject(DragKind kind, const std::string& data) : kind_(kind), data_(data) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        HGLOBAL block = render(format->cfFormat);
        if (!block) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        const CLIPFORMAT f = format->cfFormat;
        bool offered = false;
        switch (kind_) {
        case DragKind::Text: offered = f == CF_TEXT; break;
        case DragKind::WideText: offered = f == CF_UNICODETEXT || f == CF_TEXT; break;
        default: offered = f == CF_HDROP; break;
        }
        if (!offered || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    // A block of `size` zeroed bytes with `bytes` copied to `offset`.
    static HGLOBAL block(std::size_t size, std::size_t offset, const void* bytes, std::size_t length) {
        HGLOBAL b = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        if (char* p = b ? static_cast<char*>(GlobalLock(b)) : nullptr) {
            std::memcpy(p + offset, bytes, length);
            GlobalUnlock(b);
        }
        return b;
    }

    HGLOBAL render(CLIPFORMAT format) const {
        const bool wide = kind_ == DragKind::WideText || kind_ == DragKind::WideFiles;
        const std::wstring text = wide ? wideText(data_) : std::wstring();
        if (format == CF_UNICODETEXT) {
            const std::size_t bytes = text.size() * sizeof(wchar_t);
            return block(bytes + sizeof(wchar_t), 0, text.c_str(), bytes);
        }
        if (format == CF_TEXT) {
            // A wide source's CF_TEXT is the system's conversion, with
            // what the code page lacks lost.
            std::string ansi = data_;
            if (wide) {
                ansi.assign(text.size() * 2 + 1, '\0');
                const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                                  &ansi[0], static_cast<int>(ansi.size()), nullptr, nullptr);
                ansi.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
            }
            return block(ansi.size() + 1, 0, ansi.c_str(), ansi.size());
        }
        // DROPFILES, then the path and two terminating zeros.
        const void* path = wide ? static_cast<const void*>(text.c_str()) : data_.c_str();
        const std::size_t length = wide ? text.size() * sizeof(wchar_t) : data_.size();
        const std::size_t unit = wide ? sizeof(wchar_t) : 1;
        HGLOBAL files = block(sizeof(DROPFILES) + length + 2 * unit, sizeof(DROPFILES), path, length);
        if (DROPFILES* header = files ? static_cast<DROPFILES*>(GlobalLock(files)) : nullptr) {
            header->pFiles = sizeof(DROPFILES);
            header->fWide = wide ? TRUE : FALSE;
            GlobalUnlock(files);
        }
        return files;
    }

    DragKind kind_;
    std::string data_;
};

class DropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        // A few polls let the target see the drag enter before the drop.
        return ++polls_ >= 4 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override {
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    int polls_ = 0;
};

}  // namespace

long dragAndDrop(POINT screen, DragKind kind, const std::string& data) {
    SetCursorPos(screen.x, screen.y);
    Sleep(50);
    DataObject object(kind, data);
    DropSource source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(&object, &source,
                                      DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    if (result != DRAGDROP_S_DROP && result != DRAGDROP_S_CANCEL) return -1;
    return result == DRAGDROP_S_DROP ? static_cast<long>(effect) : 0;
}

}  // namespace driver

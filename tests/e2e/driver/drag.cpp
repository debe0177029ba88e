// A minimal OLE drag source: a data object that renders CF_TEXT or
// CF_HDROP, and a drop source that drops after a few polls.
#include "tests/e2e/driver/drag.h"

#include <cstring>

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
        HGLOBAL block = render();
        if (!block) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        const CLIPFORMAT wanted = kind_ == DragKind::Text ? CF_TEXT : CF_HDROP;
        if (format->cfFormat != wanted || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
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
    HGLOBAL render() const {
        if (kind_ == DragKind::Text) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data_.size() + 1);
            if (char* p = block ? static_cast<char*>(GlobalLock(block)) : nullptr) {
                std::memcpy(p, data_.c_str(), data_.size() + 1);
                GlobalUnlock(block);
            }
            return block;
        }
        // DROPFILES, then the path and two terminating zeros.
        const std::size_t size = sizeof(DROPFILES) + data_.size() + 2;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        if (char* p = block ? static_cast<char*>(GlobalLock(block)) : nullptr) {
            DROPFILES* files = reinterpret_cast<DROPFILES*>(p);
            files->pFiles = sizeof(DROPFILES);
            files->fWide = FALSE;
            std::memcpy(p + sizeof(DROPFILES), data_.c_str(), data_.size());
            GlobalUnlock(block);
        }
        return block;
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

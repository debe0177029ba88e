// The drop target: negotiates formats and effects with the drag source and
// reports each event to its window with one synchronous message.
#include "app/win32/drop_target.h"

#include <memory>
#include <new>

namespace {

// The notice being reported, while its message is being handled.
DropNotice* noticeInFlight = nullptr;

DWORD storageFor(UINT format) {
    switch (format) {
    case CF_BITMAP: return TYMED_GDI;
    case CF_METAFILEPICT: return TYMED_MFPICT;
    case CF_ENHMETAFILE: return TYMED_ENHMF;
    default: return TYMED_HGLOBAL;
    }
}

class DropTarget final : public IDropTarget {
public:
    DropTarget(HWND window, UINT message, std::unique_ptr<UINT[]> formats, int count)
        : window_(window), message_(message), formats_(std::move(formats)), count_(count) {}
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        long left = --refs_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override {
        notify(dropEnter, data, keys, &point, effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        notify(dropOver, nullptr, keys, &point, effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        notify(dropLeave, nullptr, 0, nullptr, nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override {
        notify(dropDrop, data, keys, &point, effect);
        return S_OK;
    }

private:
    ~DropTarget() = default;

    void notify(DropEvent code, IDataObject* data, DWORD keys, POINTL* point, DWORD* effect) {
        UINT format = 0;
        STGMEDIUM medium{};
        if (data) {
            FORMATETC wanted{};
            for (int i = 0; i < count_; ++i) {
                FORMATETC f{static_cast<CLIPFORMAT>(formats_[i]), nullptr, DVASPECT_CONTENT, -1,
                            storageFor(formats_[i])};
                if (data->QueryGetData(&f) == S_OK) {
                    format = formats_[i];
                    wanted = f;
                    break;
                }
            }
            if (format != 0 && data->GetData(&wanted, &medium) != S_OK) format = 0;
        }
        notice_.point = point;
        notice_.keyState = keys;
        notice_.format = format;
        notice_.data = format != 0 ? medium.hGlobal : nullptr;
        notice_.dataObject = data;
        noticeInFlight = &notice_;
        SendMessageA(window_, message_, code, reinterpret_cast<LPARAM>(&notice_));
        noticeInFlight = nullptr;
        if (format != 0) ReleaseStgMedium(&medium);
        notice_.data = nullptr;
        notice_.dataObject = nullptr;

        if (effect) {
            DWORD result = *effect & notice_.effect;
            // A source that offers both moving and copying is told to move.
            if ((result & DROPEFFECT_MOVE) && (result & DROPEFFECT_COPY)) {
                result &= ~DROPEFFECT_COPY;
                notice_.effect &= ~DROPEFFECT_COPY;
            }
            *effect = result;
        }
    }

    long refs_ = 0;  // registration takes the first reference
    HWND window_;
    UINT message_;
    std::unique_ptr<UINT[]> formats_;
    int count_;
    DropNotice notice_;
};

}  // namespace

int registerDropTarget(HWND window, UINT message, const UINT* formats, int formatCount) {
    if (formatCount < 0) return 0;
    std::unique_ptr<UINT[]> own(new (std::nothrow) UINT[formatCount > 0 ? formatCount : 1]);
    if (!own) return 0;
    for (int i = 0; i < formatCount; ++i) own[i] = formats[i];
    DropTarget* target = new (std::nothrow) DropTarget(window, message, std::move(own), formatCount);
    if (!target) return 0;
    // Hold a reference across the call so that a failed registration frees
    // the object instead of leaking it.
    target->AddRef();
    HRESULT result = RegisterDragDrop(window, target);
    target->Release();
    return result == S_OK ? 1 : 0;
}

DropNotice* dropNoticeInFlight() { return noticeInFlight; }

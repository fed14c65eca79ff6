// The Direct3D object: hands out the one device, on the OpenGL context of the main window.
#include <epoxy/gl.h>

#include "platform/automation.h"
#include "platform/d3d9_device.h"
#include "platform/platform_internal.h"

namespace platform {
namespace {

class GlDirect3D final : public IDirect3D9 {
public:
    GlDirect3D() = default;
    ~GlDirect3D() override { ReleaseGlContext(); }

    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS* params,
                         IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        *device = nullptr;
        if (!params || adapter != D3DADAPTER_DEFAULT) return D3DERR_INVALIDCALL;
        PlatformFaults& faults = GetPlatformFaults();
        if (faults.failDeviceCreations > 0) {
            --faults.failDeviceCreations;
            return D3DERR_NOTAVAILABLE;
        }
        const D3DFORMAT format = params->BackBufferFormat;
        if (format != D3DFMT_R5G6B5 && format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8)
            return D3DERR_NOTAVAILABLE;
        if (!MainWindow()) return D3DERR_INVALIDCALL;
        GlDevice* created = GlDevice::Create(*params);
        if (!created) return D3DERR_NOTAVAILABLE;
        *device = created;
        return S_OK;
    }

    unsigned long Release() override {
        const unsigned long left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    unsigned long references_ = 1;
};

}  // namespace
}  // namespace platform

IDirect3D9* Direct3DCreate9(UINT) {
    if (GetPlatformFaults().failDirect3DCreate) return nullptr;
    if (!platform::MainWindow()) return nullptr;
    if (!platform::AcquireGlContext()) return nullptr;
    if (epoxy_gl_version() < 33) {
        platform::ReleaseGlContext();
        return nullptr;
    }
    return new platform::GlDirect3D();
}

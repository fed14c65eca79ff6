// The graphics utility library the game calls: textures from bitmap resources, fonts, and the
// matrix routines with Direct3D's row-vector, left-handed conventions.
#pragma once
#include "platform/d3d9.h"

struct D3DXMATRIX : public D3DMATRIX {};
typedef D3DVECTOR D3DXVECTOR3;

#define D3DX_DEFAULT ((UINT)-1)

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zn, float zf);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz);
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXVECTOR3* D3DXVec3Unproject(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DVIEWPORT9* viewport,
                               const D3DXMATRIX* projection, const D3DXMATRIX* view, const D3DXMATRIX* world);
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

// Texture from a bitmap resource of the executable (24-bit or 8-bit palettised BMP). Texels equal to
// colorKey (all four channels, the bitmap's texels being opaque) become transparent black. The texture
// holds `format` (A8R8G8B8 keeps 8 bits per channel, A1R5G5B5 quantises to 5 bits and 1-bit alpha);
// mipLevels 0 or D3DX_DEFAULT builds the full chain. A missing id fails with E_FAIL.
HRESULT D3DXCreateTextureFromResourceExA(IDirect3DDevice9* device, HMODULE module, LPCSTR resource, UINT width,
                                         UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                         DWORD filter, DWORD mipFilter, D3DCOLOR colorKey, void* srcInfo,
                                         void* palette, IDirect3DTexture9** texture);

#define DT_LEFT 0x00000000u
#define DT_TOP 0x00000000u

// A font made from a GDI font description: Arial (Liberation Sans on Linux) at a GDI cell height.
class ID3DXFont {
public:
    virtual ~ID3DXFont() = default;
    // Draws code page 1250 text left and top aligned in rect; a line feed starts a new line; the text is
    // clipped to rect. count -1: the whole zero-terminated string. Returns the height drawn.
    virtual int DrawTextA(void* sprite, LPCSTR text, int count, RECT* rect, DWORD format, D3DCOLOR color) = 0;
    virtual unsigned long Release() = 0;
};

HRESULT D3DXCreateFont(IDirect3DDevice9* device, HFONT font, ID3DXFont** out);

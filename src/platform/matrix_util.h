// 4 × 4 matrix helpers shared by the matrix library and the device.
#pragma once
#include "platform/d3d9.h"

// r = a × b (row vectors: a applies first). r may not alias a or b.
void MultiplyMatrices(D3DMATRIX& r, const D3DMATRIX& a, const D3DMATRIX& b);
// False (and r untouched) when m is singular.
bool InvertMatrix(D3DMATRIX& r, const D3DMATRIX& m);
void IdentityMatrix(D3DMATRIX& r);

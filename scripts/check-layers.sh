#!/usr/bin/env bash
# Only src/platform may include SDL, OpenGL, FreeType or fontconfig headers.
set -euo pipefail
cd "$(dirname "$0")/.."
hits=$(grep -rnE '#include *[<"](SDL|GL/|epoxy/|ft2build|freetype|fontconfig)' src tools tests \
  --include='*.cpp' --include='*.h' | grep -v '^src/platform/' || true)
if [ -n "$hits" ]; then
  echo "Platform headers included outside src/platform:"
  echo "$hits"
  exit 1
fi
echo "layer check: ok"

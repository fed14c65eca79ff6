// Loading the town scene: a text token stream of a header, material groups and triangles, packed
// into one vertex buffer sorted by group.
//
// The file comes from outside the program, so the reader checks what it reads: counts must fit in
// the file, indices must be in range, words are at most 79 characters. A record with an index out
// of range is skipped; a file that cannot be read to its end leaves an empty scene.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "engine/engine.h"
#include "engine/log.h"
#include "platform/regular_file.h"
#include "render/helpers.h"
#include "render/scene.h"

namespace {

constexpr uint32_t kSceneFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
constexpr D3DCOLOR kMagentaKey = 0xFFFF00FF;
constexpr float kDetailScale = 0.015625f;  // the detail texture repeats every 64 units
constexpr size_t kMaxFileBytes = 256u << 20;
constexpr size_t kMaxWord = 79;
// The fewest bytes a record can take: its tokens, one blank between each.
constexpr int64_t kMinGroupBytes = 2 * 19 - 1;
constexpr int64_t kMinTextureBytes = 2 * 3;
constexpr int64_t kMinFaceBytes = 2 * 20 - 1;

// Reads tokens the way fscanf's "%s", "%d" and "%f" do, from a zero-terminated buffer.
class TokenReader {
public:
    TokenReader(const char* begin, const char* end) : p_(begin), end_(end) {}

    // One word of 1 to 79 non-blank characters, not looked at.
    bool Word() {
        SkipBlanks();
        const char* start = p_;
        while (p_ < end_ && !IsBlank(*p_)) ++p_;
        size_t length = static_cast<size_t>(p_ - start);
        if (length == 0) return Fail("subor je kratsi");
        if (length > kMaxWord) return Fail("prilis dlhe slovo");
        return true;
    }

    bool Int(int32_t* out) {
        SkipBlanks();
        const char* q = p_;
        bool negative = false;
        if (q < end_ && (*q == '+' || *q == '-')) negative = *q++ == '-';
        if (q >= end_ || !std::isdigit(static_cast<unsigned char>(*q))) return Fail("chybne cislo");
        int64_t value = 0;
        while (q < end_ && std::isdigit(static_cast<unsigned char>(*q))) {
            if (value < (int64_t{1} << 32)) value = value * 10 + (*q - '0');
            ++q;
        }
        if (negative) value = -value;
        if (value > INT32_MAX) value = INT32_MAX;
        if (value < INT32_MIN) value = INT32_MIN;
        *out = static_cast<int32_t>(value);
        p_ = q;
        return true;
    }

    bool Float(float* out) {
        SkipBlanks();
        if (p_ >= end_) return Fail("subor je kratsi");
        char* q = nullptr;
        float value = std::strtof(p_, &q);  // the buffer is zero-terminated at end_
        if (q == p_) return Fail("chybne cislo");
        p_ = q;
        *out = value;
        return true;
    }

    int64_t Remaining() const { return end_ - p_; }
    const char* error() const { return error_; }
    bool Fail(const char* what) {
        if (error_ == nullptr) error_ = what;
        return false;
    }

private:
    static bool IsBlank(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }
    void SkipBlanks() {
        while (p_ < end_ && IsBlank(*p_)) ++p_;
    }
    const char* p_;
    const char* end_;
    const char* error_ = nullptr;
};

// "%s %d": a word, then an integer.
bool WordInt(TokenReader& in, int32_t* out) {
    return in.Word() && in.Int(out);
}

void ReleaseTextures(SceneGroup& group) {
    if (group.textures == nullptr) return;
    for (int32_t i = 0; i < group.textureCount; ++i) {
        if (group.textures[i] != nullptr) group.textures[i]->Release();
    }
    std::free(group.textures);
    group.textures = nullptr;
}

IDirect3DTexture9* CreateSceneTexture(int32_t resourceId) {
    IDirect3DTexture9* texture = nullptr;
    HRESULT hr = E_FAIL;
    if (g_pDevice != nullptr) {
        hr = D3DXCreateTextureFromResourceExA(g_pDevice, g_hInstance, MAKEINTRESOURCEA(resourceId),
                                              D3DX_DEFAULT, D3DX_DEFAULT, g_engine.textureMipLevels, 0,
                                              g_engine.textureFormat, D3DPOOL_DEFAULT, D3DX_DEFAULT,
                                              D3DX_DEFAULT, kMagentaKey, nullptr, nullptr, &texture);
    }
    if (FAILED(hr) || texture == nullptr) {
        LogWriteF("  chyba pri vytvarani textury: %d", resourceId);
        return nullptr;
    }
    return texture;
}

// Exact equality of positions, with +0 and -0 equal; positions with a NaN equal nothing.
struct PositionKey {
    uint32_t bits[3];
    bool operator==(const PositionKey& o) const {
        return bits[0] == o.bits[0] && bits[1] == o.bits[1] && bits[2] == o.bits[2];
    }
};

struct PositionKeyHash {
    size_t operator()(const PositionKey& k) const {
        uint64_t h = k.bits[0] * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) + k.bits[1] * 0xBF58476D1CE4E5B9ull;
        h ^= (h >> 31) + k.bits[2] * 0x94D049BB133111EBull;
        return static_cast<size_t>(h ^ (h >> 32));
    }
};

bool MakeKey(Vector3 p, PositionKey* key) {
    float c[3] = {p.x, p.y, p.z};
    for (int i = 0; i < 3; ++i) {
        if (c[i] != c[i]) return false;
        if (c[i] == 0.0f) c[i] = 0.0f;
        std::memcpy(&key->bits[i], &c[i], 4);
    }
    return true;
}

bool SameBits(Vector3 a, Vector3 b) {
    return std::memcmp(&a, &b, sizeof(Vector3)) == 0;
}

// A later visit at a position where all `count` normals already equal m: m once, plus every normal
// there, normalised.
Vector3 Revisit(Vector3 m, size_t count) {
    Vector3 sum = m;
    for (size_t i = 0; i < count; ++i) sum = VecAdd(sum, m);
    VecNormalize(&sum);
    return sum;
}

struct VertexRef {
    int32_t face;
    int32_t slot;
};

// Smooths one position: the vertices there, in visiting order (face index, then slot). Gives the
// same result as visiting every vertex of the group and comparing it with every other one: the first
// visit stores normalize(n0 + all normals there), each later visit re-normalises the sum again.
void SmoothPosition(SceneFace* faces, const VertexRef* refs, size_t count) {
    Vector3 sum = faces[refs[0].face].normals[refs[0].slot];
    for (size_t i = 0; i < count; ++i) sum = VecAdd(sum, faces[refs[i].face].normals[refs[i].slot]);
    VecNormalize(&sum);

    // The later visits repeat one function of the stored normal, so once a value repeats the rest is a
    // cycle and need not be walked.
    std::vector<Vector3> seen{sum};
    size_t visitsLeft = count - 1;
    Vector3 result = sum;
    while (visitsLeft > 0) {
        Vector3 next = Revisit(seen.back(), count);
        --visitsLeft;
        size_t at = seen.size();
        for (size_t i = 0; i < seen.size(); ++i) {
            if (SameBits(seen[i], next)) {
                at = i;
                break;
            }
        }
        if (at < seen.size()) {
            size_t period = seen.size() - at;
            result = seen[at + visitsLeft % period];
            visitsLeft = 0;
            seen.clear();
            break;
        }
        seen.push_back(next);
        result = next;
    }
    for (size_t i = 0; i < count; ++i) faces[refs[i].face].normals[refs[i].slot] = result;
}

}  // namespace

void SmoothGroupNormals(SceneFace* faces, const int32_t* faceIndices, size_t faceCount) {
    std::unordered_map<PositionKey, int32_t, PositionKeyHash> classOf;
    classOf.reserve(faceCount * 2);
    std::vector<int32_t> classOfVertex;
    classOfVertex.reserve(faceCount * 3);
    std::vector<VertexRef> visits;
    visits.reserve(faceCount * 3);
    std::vector<int32_t> classSize;
    for (size_t i = 0; i < faceCount; ++i) {
        int32_t k = faceIndices[i];
        for (int32_t s = 0; s < 3; ++s) {
            PositionKey key;
            if (!MakeKey(faces[k].positions[s], &key)) continue;  // a NaN position matches nothing
            auto [it, added] = classOf.try_emplace(key, static_cast<int32_t>(classSize.size()));
            if (added) classSize.push_back(0);
            ++classSize[it->second];
            classOfVertex.push_back(it->second);
            visits.push_back({k, s});
        }
    }
    // Gather each position's vertices together, keeping the visiting order within a position.
    std::vector<size_t> start(classSize.size() + 1, 0);
    for (size_t c = 0; c < classSize.size(); ++c) start[c + 1] = start[c] + classSize[c];
    std::vector<size_t> fill(start.begin(), start.end() - 1);
    std::vector<VertexRef> byClass(visits.size());
    for (size_t v = 0; v < visits.size(); ++v) byClass[fill[classOfVertex[v]]++] = visits[v];
    for (size_t c = 0; c < classSize.size(); ++c) SmoothPosition(faces, &byClass[start[c]], classSize[c]);
}

namespace {

bool ReadGroups(Scene& scene, TokenReader& in) {
    const int32_t groupCount = scene.groupCount;
    for (int32_t r = 0; r < groupCount; ++r) {
        int32_t g = 0;
        int32_t textureCount = 0;
        float frameDuration = 0.0f;
        if (!in.Word() || !WordInt(in, &g) || !WordInt(in, &textureCount) || !in.Word() ||
            !in.Float(&frameDuration)) {
            return false;
        }
        LogWriteF(" Material %d", g);
        bool valid = g >= 0 && g < groupCount;
        if (!valid) LogWriteF(" Chybny subor: material %d mimo rozsahu, preskakujem", g);
        if (textureCount < 0) {
            LogWriteF(" Chybny subor: zaporny pocet textur %d", textureCount);
            textureCount = 0;
        }
        if (int64_t{textureCount} * kMinTextureBytes > in.Remaining())
            return in.Fail("prilis velky pocet textur");
        SceneGroup* group = nullptr;
        if (valid) {
            group = &scene.groups[g];
            ReleaseTextures(*group);  // a group described twice keeps the later record
            *group = SceneGroup{};
            group->textureCount = textureCount;
            group->frameDuration = frameDuration;
            group->textures = static_cast<IDirect3DTexture9**>(
                std::calloc(textureCount > 0 ? textureCount : 1, sizeof(IDirect3DTexture9*)));
        }
        for (int32_t i = 0; i < textureCount; ++i) {
            int32_t unused = 0;
            int32_t resourceId = 0;
            if (!in.Word() || !in.Int(&unused) || !in.Int(&resourceId)) return false;
            if (group == nullptr) continue;
            LogWriteF("  Textura %d", resourceId);
            group->textures[i] = CreateSceneTexture(resourceId);
        }
        int32_t closing[6];
        for (int32_t& value : closing) {
            if (!WordInt(in, &value)) return false;
        }
        if (group == nullptr) continue;
        group->blendMode = closing[0];
        group->textureMode = closing[1];
        group->materialKind = closing[2];
        group->specular = closing[4];
        group->smooth = closing[5];
        int32_t needed =
            group->textureMode == 2 ? 2 : (group->textureMode == 0 || group->textureMode == 1 ? 1 : 0);
        if (group->textureCount < needed) LogWriteF(" Chybny subor: material %d ma malo textur", g);
    }
    return true;
}

bool ReadFaces(Scene& scene, TokenReader& in) {
    const int32_t faceCount = scene.faceCount;
    for (int32_t r = 0; r < faceCount; ++r) {
        int32_t k = 0;
        int32_t group = 0;
        if (!in.Word() || !WordInt(in, &k) || !WordInt(in, &group)) return false;
        float v[3][5];
        for (auto& vertex : v) {
            for (float& value : vertex) {
                if (!in.Float(&value)) return false;
            }
        }
        if (k < 0 || k >= faceCount) {
            LogWriteF(" Chybny subor: trojholnik %d mimo rozsahu, preskakujem", k);
            continue;
        }
        SceneFace& face = scene.faces[k];
        // The file lists the corners in the other order: its n-th vertex is slot 2 - n.
        for (int n = 0; n < 3; ++n) {
            int s = 2 - n;
            face.positions[s] = {v[n][0], v[n][1], v[n][2]};
            face.texCoords[s][0] = v[n][3];
            face.texCoords[s][1] = v[n][4];
            face.detailCoords[s][0] = v[n][0] * kDetailScale;
            face.detailCoords[s][1] = v[n][2] * kDetailScale;
        }
        Plane plane = PlaneFromPoints(face.positions[2], face.positions[1], face.positions[0]);
        Vector3 normal{plane.a, plane.b, plane.c};
        for (auto& n : face.normals) n = normal;
        face.group = group;
    }
    return true;
}

}  // namespace

void Scene::Load(const char* path) {
    LogWrite("Vytvaram OCTree");
    LogWriteF(" Subor: %s", path);
    file = OpenRegularFile(path, "r");
    if (file == nullptr) {
        LogWrite(" Subor sa nepodarilo otvrit");
        return;
    }
    std::vector<char> bytes;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && bytes.size() <= kMaxFileBytes) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    file = nullptr;
    LoadFromMemory(bytes.data(), bytes.size());
}

void Scene::LoadFromMemory(const char* data, size_t size) {
    Release();
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    TokenReader in(text.data(), text.data() + size);

    int32_t groups32 = 0;
    int32_t faces32 = 0;
    if (!WordInt(in, &minPolygonsInNode) || !WordInt(in, &groups32) || !WordInt(in, &faces32)) {
        LogWriteF(" Chybny subor: hlavicka (%s)", in.error());
        return;
    }
    LogWriteF(" MinPolygonsInNode: %d", minPolygonsInNode);
    LogWriteF(" NumGroups: %d", groups32);
    LogWriteF(" NumFaces: %d", faces32);
    if (groups32 < 0 || faces32 < 0) {
        LogWrite(" Chybny subor: zaporny pocet");
        return;
    }
    if (int64_t{groups32} * kMinGroupBytes + int64_t{faces32} * kMinFaceBytes > in.Remaining()) {
        LogWrite(" Chybny subor: pocty nezodpovedaju velkosti suboru");
        return;
    }
    groupCount = groups32;
    faceCount = faces32;
    groups = static_cast<SceneGroup*>(std::calloc(groupCount > 0 ? groupCount : 1, sizeof(SceneGroup)));
    faces = static_cast<SceneFace*>(std::calloc(faceCount > 0 ? faceCount : 1, sizeof(SceneFace)));
    for (int32_t g = 0; g < groupCount; ++g) groups[g].blendMode = -1;  // not described: never drawn
    for (int32_t k = 0; k < faceCount; ++k) faces[k].group = -1;        // not described: never drawn

    if (!ReadGroups(*this, in) || !ReadFaces(*this, in)) {
        LogWriteF(" Chybny subor: %s", in.error() ? in.error() : "chybny zaznam");
        Release();
        return;
    }

    HRESULT hr = E_FAIL;
    if (g_pDevice != nullptr && faceCount > 0) {
        hr = g_pDevice->CreateVertexBuffer(static_cast<UINT>(faceCount) * 3u * sizeof(SceneVertex),
                                           D3DUSAGE_WRITEONLY, kSceneFvf, D3DPOOL_DEFAULT, &vertexBuffer,
                                           nullptr);
    }
    if (SUCCEEDED(hr) && vertexBuffer != nullptr) {
        LogWrite(" Vertex Buffer vytvoreny");
    } else {
        vertexBuffer = nullptr;
        LogWrite(" Chyba pri vytvarani VB");
    }

    // Faces by group, each group's in face-index order.
    std::vector<int32_t> groupStart(groupCount + 1, 0);
    for (int32_t k = 0; k < faceCount; ++k) {
        int32_t g = faces[k].group;
        if (g >= 0 && g < groupCount) ++groupStart[g + 1];
    }
    for (int32_t g = 0; g < groupCount; ++g) groupStart[g + 1] += groupStart[g];
    std::vector<int32_t> byGroup(groupStart[groupCount]);
    std::vector<int32_t> fill(groupStart.begin(), groupStart.end() - 1);
    for (int32_t k = 0; k < faceCount; ++k) {
        int32_t g = faces[k].group;
        if (g >= 0 && g < groupCount) byGroup[fill[g]++] = k;
    }

    for (int32_t g = 0; g < groupCount; ++g) {
        if (groups[g].smooth == 1) {
            SmoothGroupNormals(faces, byGroup.data() + groupStart[g], groupStart[g + 1] - groupStart[g]);
        }
    }

    SceneVertex* out = nullptr;
    if (vertexBuffer != nullptr) {
        void* locked = nullptr;
        if (SUCCEEDED(vertexBuffer->Lock(0, 0, &locked, D3DLOCK_NOSYSLOCK)))
            out = static_cast<SceneVertex*>(locked);
    }
    for (int32_t g = 0; g < groupCount; ++g) {
        groups[g].firstVertex = 3 * groupStart[g];
        groups[g].primitiveCount = groupStart[g + 1] - groupStart[g];
        if (out == nullptr) continue;
        for (int32_t i = groupStart[g]; i < groupStart[g + 1]; ++i) {
            const SceneFace& f = faces[byGroup[i]];
            for (int s = 0; s < 3; ++s) {
                SceneVertex& v = out[3 * i + s];
                v = {f.positions[s].x,     f.positions[s].y,    f.positions[s].z,  f.normals[s].x,
                     f.normals[s].y,       f.normals[s].z,      f.texCoords[s][0], f.texCoords[s][1],
                     f.detailCoords[s][0], f.detailCoords[s][1]};
            }
        }
    }
    if (out != nullptr) vertexBuffer->Unlock();
}

void Scene::Release() {
    if (vertexBuffer != nullptr) {
        vertexBuffer->Release();
        vertexBuffer = nullptr;
    }
    if (groups != nullptr) {
        for (int32_t g = 0; g < groupCount; ++g) ReleaseTextures(groups[g]);
        std::free(groups);
        groups = nullptr;
    }
    std::free(faces);
    faces = nullptr;
    groupCount = 0;
    faceCount = 0;
}

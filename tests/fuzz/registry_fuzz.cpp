// The settings store's text form. Any bytes parse; then
//  - the tree written afresh parses back to the same tree;
//  - rewritten with nothing changed, the file stays as it was (a last line
//    break added);
//  - one change picked from the input (a value set to any type and data, a
//    value or key deleted, a key added), rewritten over the original lines,
//    parses back to the changed tree.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/RegistryStore.h"

using namespace regstore;

namespace {

class TPicker {
public:
    TPicker(const uint8_t* d, size_t n) : FData(d), FSize(n) {}
    uint32_t Next()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | (FPos < FSize ? FData[FPos++] : 0);
        return v;
    }
    std::vector<Byte> Bytes(size_t max)
    {
        size_t n = FPos < FSize ? std::min<size_t>(FData[FPos++], max) : 0;
        n = std::min(n, FSize - FPos);
        std::vector<Byte> b(FData + FPos, FData + FPos + n);
        FPos += n;
        return b;
    }
    // Any units: names may hold anything the store can hold.
    String Units(size_t max)
    {
        std::vector<Byte> b = Bytes(max * 4);
        String s(b.size() / 4, L'\0');
        if (!s.empty()) std::memcpy(s.data(), b.data(), s.size() * 4);
        for (Char& c : s)
            if (c == 0) c = L'x';
        return s;
    }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
};

void Collect(TRegNode& n, std::vector<TRegNode*>& out)
{
    out.push_back(&n);
    for (auto& [name, child] : n.Keys) Collect(*child, out);
}

// Deletes a key without sub-keys somewhere below root.
bool DeleteLeaf(TRegNode& n, uint32_t pick)
{
    for (auto it = n.Keys.begin(); it != n.Keys.end(); ++it) {
        if (it->second->Keys.empty()) {
            if (pick-- == 0) {
                n.Keys.erase(it);
                return true;
            }
        } else if (DeleteLeaf(*it->second, pick)) {
            return true;
        }
    }
    return false;
}

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "registry_fuzz: %s\n", what);
        std::abort();
    }
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    TStoreDoc doc;
    Parse(bytes, doc);

    TStoreDoc again;
    Parse(Serialise(doc.Root), again);
    Check(SameTree(doc.Root, again.Root), "the tree written afresh reads back otherwise");

    bool lossy = true;
    std::string same = Rewrite(doc, doc.Root, lossy);
    Check(!lossy, "a rewrite without a change dropped something");
    Check(same == (bytes.empty() || bytes.back() == '\n' ? bytes : bytes + '\n'), "a rewrite without a change changed the file");

    // The change comes from the input's tail, so it varies with the file.
    size_t tail = std::min<size_t>(size, 64);
    TPicker pick(data + size - tail, tail);
    TStoreDoc changed;
    Parse(bytes, changed);
    std::vector<TRegNode*> nodes;
    Collect(changed.Root, nodes);
    TRegNode& key = *nodes[pick.Next() % nodes.size()];
    switch (pick.Next() % 4) {
    case 0: {
        TRegValue v;
        if (!key.Values.empty() && pick.Next() % 2) {
            auto it = key.Values.begin();
            std::advance(it, pick.Next() % key.Values.size());
            v.Name = it->second.Name;
        } else {
            v.Name = pick.Units(8);
        }
        uint32_t t = pick.Next();
        v.Type = t % 3 == 0 ? t : t % 12;
        v.Data = pick.Bytes(40);
        if (v.Type == REG_SZ || v.Type == REG_EXPAND_SZ || v.Type == REG_MULTI_SZ)
            v.Data = NormaliseString(v.Type, v.Data);
        auto it = key.Values.find(TUnfolded{v.Name});
        if (it != key.Values.end()) v.Name = it->second.Name;
        key.Values[Fold(v.Name)] = v;
        break;
    }
    case 1:
        if (!key.Values.empty()) {
            auto it = key.Values.begin();
            std::advance(it, pick.Next() % key.Values.size());
            key.Values.erase(it);
        }
        break;
    case 2:
        DeleteLeaf(changed.Root, pick.Next() % 8);
        break;
    case 3: {
        // Key names as the store takes them: characters, no control
        // character, no path delimiter.
        String name;
        for (Char c : pick.Units(4)) {
            uint32_t u = uint32_t(c) % 0x110000;
            if (u < 0x20 || u == 0x7F || u == '\\' || (u >= 0xD800 && u <= 0xDFFF)) u = 'k';
            name += Char(u);
        }
        if (name.empty()) name = L"new";
        Descend(key, {name}, true);
        break;
    }
    }
    std::string text = Rewrite(doc, changed.Root, lossy);
    TStoreDoc back;
    Parse(text, back);
    Check(SameTree(changed.Root, back.Root), "the changed tree reads back otherwise");
    return 0;
}

// The XML document object fed any bytes: loading either succeeds and the
// whole tree can be walked through the automation members, or it fails with
// an error code and a reason. Nothing external is ever loaded.
#include <cstdlib>

#include "platform/os/XmlDocument.h"

namespace {

// Walks every node with a budget, as an importer would.
void Walk(const Variant& node, int& budget)
{
    if (--budget < 0) return;
    (void)VarToStr(node.Get(L"nodeName"));
    (void)VarToStr(node.Get(L"text"));
    Variant attrs = node.Get(L"attributes");
    if (!VarIsClear(attrs))
        for (Integer i = 0; i < attrs.Get(L"length").AsInteger(); ++i) {
            Variant a = attrs.Call(L"item", {i});
            (void)VarToStr(a.Get(L"nodeName"));
            (void)VarToStr(a.Get(L"text"));
        }
    Variant kids = node.Get(L"childNodes");
    for (Integer i = 0; i < kids.Get(L"length").AsInteger() && budget > 0; ++i) Walk(kids.Call(L"item", {i}), budget);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto* doc = new TXmlDocument;
    TComPtr<IDispatch> keep(doc);
    try {
        if (doc->LoadBytes(data, size)) {
            int budget = 2000;
            Walk(doc->DocumentElement(), budget);
            Variant self(keep);
            (void)VarToStr(self.Get(L"text"));
        } else if (doc->ErrorCode() == 0 || doc->ErrorReason().empty()) {
            std::abort();   // a failure must say why
        }
    } catch (const Exception&) {
        std::abort();   // the members never raise on a loaded tree
    }
    return 0;
}

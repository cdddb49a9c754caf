#include "platform/os/XmlDocument.h"

#include "platform/base/SysUtils.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

// The parsed tree, shared by the document and every node handed out, so a
// node stays valid after the document loads another file or goes away.
struct TXmlTree {
    xmlDocPtr Doc = nullptr;
    ~TXmlTree()
    {
        if (Doc) xmlFreeDoc(Doc);
    }
};

namespace {

// While one of our loads runs on this thread the parser gets no external
// resource (entity or DTD); ExternalRefused tells that it asked for one.
thread_local bool InsideLoad = false;
thread_local bool ExternalRefused = false;
xmlExternalEntityLoader PreviousLoader = nullptr;

xmlParserInputPtr RefuseExternal(const char* url, const char* id, xmlParserCtxtPtr ctxt)
{
    if (!InsideLoad) return PreviousLoader ? PreviousLoader(url, id, ctxt) : nullptr;
    ExternalRefused = true;
    return nullptr;
}

void SetUpLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        // The hook is process-wide; other users of the library keep the
        // loader they had.
        PreviousLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(RefuseExternal);
    });
}

String FromUtf8(const xmlChar* s)
{
    return s ? UTF8ToString(reinterpret_cast<const char*>(s)) : String();
}

String NodeName(xmlNodePtr n)
{
    switch (n->type) {
    case XML_TEXT_NODE: return L"#text";
    case XML_CDATA_SECTION_NODE: return L"#cdata-section";
    case XML_COMMENT_NODE: return L"#comment";
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE: return L"#document";
    case XML_DOCUMENT_FRAG_NODE: return L"#document-fragment";
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
        if (n->ns && n->ns->prefix) return FromUtf8(n->ns->prefix) + L":" + FromUtf8(n->name);
        return FromUtf8(n->name);
    default: return FromUtf8(n->name);
    }
}

String NodeText(xmlNodePtr n)
{
    if (n->type == XML_DTD_NODE) return String();
    xmlChar* content = xmlNodeGetContent(n);
    String s = FromUtf8(content);
    xmlFree(content);
    return s;
}

bool IsBlank(const xmlChar* s)
{
    if (!s) return true;
    for (; *s; ++s)
        if (*s != ' ' && *s != '\t' && *s != '\r' && *s != '\n') return false;
    return true;
}

// The node after n in document order, not entering n's children.
xmlNodePtr NextSkippingChildren(xmlNodePtr n)
{
    while (n) {
        if (n->next) return n->next;
        n = n->parent;
        if (n && n->type != XML_ELEMENT_NODE) return nullptr;
    }
    return nullptr;
}

// Drops the text nodes made only of blanks, without recursion (the tree may
// be as deep as the parser allows).
void DropBlankText(xmlDocPtr doc)
{
    xmlNodePtr n = xmlDocGetRootElement(doc);
    while (n) {
        if (n->type == XML_TEXT_NODE && IsBlank(n->content)) {
            xmlNodePtr next = NextSkippingChildren(n);
            xmlUnlinkNode(n);
            xmlFreeNode(n);
            n = next;
        } else if (n->type == XML_ELEMENT_NODE && n->children) {
            n = n->children;
        } else {
            n = NextSkippingChildren(n);
        }
    }
}

class TXmlNodeList : public TAutoObject {
public:
    TXmlNodeList(std::shared_ptr<TXmlTree> tree, std::vector<xmlNodePtr> items)
        : TAutoObject(XmlDocumentProgId), FTree(std::move(tree)), FItems(std::move(items))
    {
    }

protected:
    const TAutoMembers& Members() const override;

private:
    std::shared_ptr<TXmlTree> FTree;
    std::vector<xmlNodePtr> FItems;
};

class TXmlNode : public TAutoObject {
public:
    TXmlNode(std::shared_ptr<TXmlTree> tree, xmlNodePtr node)
        : TAutoObject(XmlDocumentProgId), FTree(std::move(tree)), FNode(node)
    {
    }

    static Variant Make(const std::shared_ptr<TXmlTree>& tree, xmlNodePtr node)
    {
        if (!node) return Variant(static_cast<IDispatch*>(nullptr));
        TComPtr<IDispatch> p(new TXmlNode(tree, node));
        return Variant(p);
    }

    static Variant ChildNodes(const std::shared_ptr<TXmlTree>& tree, xmlNodePtr node)
    {
        std::vector<xmlNodePtr> items;
        for (xmlNodePtr c = node ? node->children : nullptr; c; c = c->next) items.push_back(c);
        TComPtr<IDispatch> p(new TXmlNodeList(tree, std::move(items)));
        return Variant(p);
    }

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TXmlNode>()
                .Property(L"nodeName", [](TXmlNode& n, const TAutoArgs&) { return Variant(NodeName(n.FNode)); })
                .Property(L"text", [](TXmlNode& n, const TAutoArgs&) { return Variant(NodeText(n.FNode)); })
                .Property(L"childNodes",
                          [](TXmlNode& n, const TAutoArgs&) {
                              if (n.FNode->type == XML_ATTRIBUTE_NODE) return ChildNodes(n.FTree, nullptr);
                              return ChildNodes(n.FTree, n.FNode);
                          })
                .Property(L"attributes", [](TXmlNode& n, const TAutoArgs&) {
                    if (n.FNode->type != XML_ELEMENT_NODE) return Variant(static_cast<IDispatch*>(nullptr));
                    std::vector<xmlNodePtr> items;
                    for (xmlAttrPtr a = n.FNode->properties; a; a = a->next)
                        items.push_back(reinterpret_cast<xmlNodePtr>(a));
                    TComPtr<IDispatch> p(new TXmlNodeList(n.FTree, std::move(items)));
                    return Variant(p);
                });
        return table;
    }

private:
    std::shared_ptr<TXmlTree> FTree;
    xmlNodePtr FNode;
};

const TAutoMembers& TXmlNodeList::Members() const
{
    static const TAutoMembers table =
        TAutoMembers::For<TXmlNodeList>()
            .Property(L"length", [](TXmlNodeList& l, const TAutoArgs&) { return Variant(Integer(l.FItems.size())); })
            .Method(
                L"item",
                [](TXmlNodeList& l, const TAutoArgs& a) {
                    Int64 i = a.Required(0).AsInt64();
                    // Past the end answers nothing, as a list does in scripts.
                    if (i < 0 || i >= Int64(l.FItems.size())) return Variant(static_cast<IDispatch*>(nullptr));
                    return TXmlNode::Make(l.FTree, l.FItems[size_t(i)]);
                },
                {L"index"})
            .Default();
    return table;
}

class TXmlParseError : public TAutoObject {
public:
    TXmlParseError(Integer code, Integer line, const String& reason)
        : TAutoObject(XmlDocumentProgId), FCode(code), FLine(line), FReason(reason)
    {
    }

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TXmlParseError>()
                .Property(L"errorCode", [](TXmlParseError& e, const TAutoArgs&) { return Variant(e.FCode); })
                .Property(L"line", [](TXmlParseError& e, const TAutoArgs&) { return Variant(e.FLine); })
                .Property(L"reason", [](TXmlParseError& e, const TAutoArgs&) { return Variant(e.FReason); });
        return table;
    }

private:
    Integer FCode, FLine;
    String FReason;
};

struct TFileReader {
    FILE* File;
    static int Read(void* context, char* buffer, int len)
    {
        auto* self = static_cast<TFileReader*>(context);
        size_t n = fread(buffer, 1, size_t(len), self->File);
        if (n == 0 && ferror(self->File)) return -1;
        return int(n);
    }
};

struct TMemoryReader {
    const char* Data;
    size_t Left;
    static int Read(void* context, char* buffer, int len)
    {
        auto* self = static_cast<TMemoryReader*>(context);
        size_t n = std::min(self->Left, size_t(len));
        memcpy(buffer, self->Data, n);
        self->Data += n;
        self->Left -= n;
        return int(n);
    }
};

}  // namespace

TXmlDocument::TXmlDocument() : TAutoObject(XmlDocumentProgId) { SetUpLibrary(); }

TXmlDocument::~TXmlDocument() = default;

template <class Reader>
bool TXmlDocument::Parse(Reader reader, const String& url)
{
    FTree.reset();
    FErrorCode = 0;
    FErrorLine = 0;
    FErrorReason.clear();

    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) {
        FErrorCode = XML_ERR_NO_MEMORY;
        FErrorReason = L"Out of memory";
        return false;
    }
    // Entities are expanded (within the library's expansion limits); no
    // network, no DTD loading, no decompression (the reader hands over the
    // bytes as they are), the default depth limit (no XML_PARSE_HUGE).
    const int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    ExternalRefused = false;
    std::string urlUtf8 = UTF8Encode(url);
    InsideLoad = true;
    xmlDocPtr doc = xmlCtxtReadIO(ctxt, &Reader::Read, nullptr, &reader, urlUtf8.empty() ? nullptr : urlUtf8.c_str(),
                                  nullptr, options);
    InsideLoad = false;
    bool refused = std::exchange(ExternalRefused, false);
    if (!doc || !ctxt->wellFormed || refused || !xmlDocGetRootElement(doc)) {
        const xmlError* err = xmlCtxtGetLastError(ctxt);
        if (refused) {
            FErrorCode = XML_IO_LOAD_ERROR;
            FErrorReason = L"External entities and DTDs are not loaded";
            FErrorLine = err && err->line > 0 ? err->line : 0;
        } else if (err && err->code != 0) {
            FErrorCode = err->code;
            FErrorLine = err->line;
            FErrorReason = Trim(UTF8ToString(err->message ? err->message : ""));
        } else {
            FErrorCode = XML_ERR_DOCUMENT_EMPTY;
            FErrorReason = L"The document has no root element";
        }
        if (doc) xmlFreeDoc(doc);
        xmlFreeParserCtxt(ctxt);
        return false;
    }
    xmlFreeParserCtxt(ctxt);
    DropBlankText(doc);
    auto tree = std::make_shared<TXmlTree>();
    tree->Doc = doc;
    FTree = std::move(tree);
    return true;
}

bool TXmlDocument::Load(const String& fileName)
{
    FILE* f = fopen(UTF8Encode(fileName).c_str(), "rb");
    if (!f) {
        FTree.reset();
        FErrorCode = XML_IO_LOAD_ERROR;
        FErrorLine = 0;
        FErrorReason = L"The system cannot locate the object specified: " + fileName;
        return false;
    }
    bool ok = Parse(TFileReader{f}, fileName);
    fclose(f);
    return ok;
}

bool TXmlDocument::LoadBytes(const void* data, size_t size)
{
    return Parse(TMemoryReader{static_cast<const char*>(data), size}, String());
}

Variant TXmlDocument::DocumentElement() const
{
    return TXmlNode::Make(FTree, FTree ? xmlDocGetRootElement(FTree->Doc) : nullptr);
}

const TAutoMembers& TXmlDocument::Members() const
{
    static const TAutoMembers table =
        TAutoMembers::For<TXmlDocument>()
            .Method(L"load", [](TXmlDocument& d, const TAutoArgs& a) { return Variant(d.Load(a.Text(0))); },
                    {L"xmlSource"})
            .Property(L"parseError",
                      [](TXmlDocument& d, const TAutoArgs&) {
                          TComPtr<IDispatch> p(new TXmlParseError(d.FErrorCode, d.FErrorLine, d.FErrorReason));
                          return Variant(p);
                      })
            .Property(L"documentElement", [](TXmlDocument& d, const TAutoArgs&) { return d.DocumentElement(); })
            .Property(L"childNodes",
                      [](TXmlDocument& d, const TAutoArgs&) {
                          return TXmlNode::ChildNodes(d.FTree, d.FTree ? reinterpret_cast<xmlNodePtr>(d.FTree->Doc)
                                                                       : nullptr);
                      })
            .Property(L"nodeName", [](TXmlDocument&, const TAutoArgs&) { return Variant(L"#document"); })
            .Property(L"text", [](TXmlDocument& d, const TAutoArgs&) {
                return Variant(d.FTree ? NodeText(reinterpret_cast<xmlNodePtr>(d.FTree->Doc)) : String());
            });
    return table;
}

TComPtr<IDispatch> CreateXmlDocument() { return TComPtr<IDispatch>(new TXmlDocument); }

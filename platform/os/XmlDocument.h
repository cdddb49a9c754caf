// The XML document object of the automation registry, on libxml2.
//
// Members (late-bound, names without regard to case):
//   document: load(file) -> Boolean, parseError, documentElement, childNodes,
//             nodeName ("#document"), text
//   node:     nodeName, text, childNodes, attributes (nothing for nodes that
//             have none: VarIsClear answers true)
//   list:     length, item(index) (the default member), 0-based
//   parseError: errorCode (0 after a good load), line, reason
// text is the concatenated text of the node's descendants. Text nodes made
// only of blanks are dropped; the declared encoding (or the byte-order mark)
// is honoured; internal entities are expanded within the library's limits
// on expansion and depth. The parser never touches the network and loads no
// external entity or DTD: a document that refers to one fails to load.
#pragma once

#include <memory>

#include "platform/base/ComObj.h"

inline const String XmlDocumentProgId = L"Microsoft.XMLDOM";

struct TXmlTree;

class TXmlDocument : public TAutoObject {
public:
    TXmlDocument();
    ~TXmlDocument() override;

    // Load a file (UTF-8 file name). False on any failure, with the reason
    // in ErrorCode/ErrorLine/ErrorReason; the previous document is dropped
    // either way. Nodes handed out before stay valid.
    bool Load(const String& fileName);
    // The same from bytes in memory.
    bool LoadBytes(const void* data, size_t size);

    Integer ErrorCode() const { return FErrorCode; }
    Integer ErrorLine() const { return FErrorLine; }
    const String& ErrorReason() const { return FErrorReason; }
    // The root element (a node object), or a variant holding no object.
    Variant DocumentElement() const;

protected:
    const TAutoMembers& Members() const override;

private:
    template <class Read>
    bool Parse(Read read, const String& url);

    std::shared_ptr<TXmlTree> FTree;
    Integer FErrorCode = 0;
    Integer FErrorLine = 0;
    String FErrorReason;
};

TComPtr<IDispatch> CreateXmlDocument();

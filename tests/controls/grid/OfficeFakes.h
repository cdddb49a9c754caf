// Automation helpers of the office exchange tests: a proxy that logs every
// call a program makes on a real server's objects (and on the objects they
// answer), and a scriptable fake object for servers that do not exist here.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/ComObj.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Variants.h"

namespace officefakes {

using TLog = std::vector<std::string>;

inline std::string Show(const Variant& v)
{
    const TVarType t = v.VarType();
    if (t == varDispatch) return "obj";
    if (t & varArray) return "array";
    if (t == varEmpty) return "";
    if (t == varError) return "missing";
    if (t == varBoolean) return v.AsBoolean() ? "true" : "false";
    return UTF8Encode(VarToStr(v));
}

// Forwards every call to the inner object and logs "Member(args)" or
// "Member=value"; objects the calls answer are wrapped the same way.
class TLogProxy : public TAutoObject {
public:
    TLogProxy(TComPtr<IDispatch> inner, std::shared_ptr<TLog> log)
        : TAutoObject(L"proxy"), FInner(std::move(inner)), FLog(std::move(log))
    {
    }

    HRESULT GetIDsOfNames(const std::wstring_view* names, UINT count, DISPID* ids) override
    {
        HRESULT hr = FInner->GetIDsOfNames(names, count, ids);
        if (count > 0) FNames[ids[0]] = UTF8Encode(String(names[0]));
        for (UINT i = 1; i < count; ++i) FParams[{ids[0], ids[i]}] = UTF8Encode(String(names[i]));
        return hr;
    }

    HRESULT Invoke(DISPID id, Word flags, const DISPPARAMS& params, Variant* result, EXCEPINFO* excepInfo) override
    {
        std::string line = FNames.count(id) ? FNames[id] : "(default)";
        if (flags & DISPATCH_PROPERTYPUT) {
            for (size_t i = 0; i < params.NamedIds.size(); ++i)
                if (params.NamedIds[i] == DISPID_PROPERTYPUT) line += "=" + Show(params.NamedArgs[i]);
        } else {
            std::string args;
            for (const Variant& a : params.Args) args += (args.empty() ? "" : ",") + Show(a);
            for (size_t i = 0; i < params.NamedIds.size(); ++i) {
                // Parameter names are logged as the caller gave them.
                auto p = FParams.find({id, params.NamedIds[i]});
                std::string name = p == FParams.end() ? "?" : p->second;
                args += (args.empty() ? "" : ",") + name + "=" + Show(params.NamedArgs[i]);
            }
            if (!args.empty()) line += "(" + args + ")";
        }
        FLog->push_back(line);
        HRESULT hr = FInner->Invoke(id, flags, params, result, excepInfo);
        if (hr == S_OK && result && result->VarType() == varDispatch && result->AsDispatch())
            *result = Variant(TComPtr<IDispatch>(static_cast<IDispatch*>(new TLogProxy(result->AsDispatch(), FLog))));
        return hr;
    }

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table = TAutoMembers::For<TLogProxy>();
        return table;
    }

private:
    TComPtr<IDispatch> FInner;
    std::shared_ptr<TLog> FLog;
    std::map<DISPID, std::string> FNames;
    std::map<std::pair<DISPID, DISPID>, std::string> FParams;
};

// Whether the log holds these lines in this order (others may lie between).
inline bool InOrder(const TLog& log, const std::vector<std::string>& lines)
{
    size_t k = 0;
    for (const std::string& l : log)
        if (k < lines.size() && l == lines[k]) ++k;
    if (k == lines.size()) return true;
    // Tell what was missing and what came.
    std::string all;
    for (const std::string& l : log) all += "  " + l + "\n";
    ADD_FAILURE() << "missing \"" << lines[k] << "\" in the calls:\n" << all;
    return false;
}

// A fake automation object: every member of a fixed list of names answers
// through the world's handler, which sees the object's kind, the member and
// the arguments (named ones placed by the parameter names below); every call
// is logged as "Kind.Member(args)" or "Kind.Member=value".
struct TFakeWorld;

class TFake : public TAutoObject {
public:
    TFake(std::string kind, TFakeWorld* world) : TAutoObject(L"fake"), Kind(std::move(kind)), World(world) {}
    std::string Kind;
    TFakeWorld* World;

    static Variant Make(const std::string& kind, TFakeWorld* world)
    {
        return Variant(TComPtr<IDispatch>(static_cast<IDispatch*>(new TFake(kind, world))));
    }

protected:
    const TAutoMembers& Members() const override;
};

struct TFakeWorld {
    TLog Log;
    // Answers a read or call (kind, member, formatted args) -> result.
    std::function<Variant(const std::string& kind, const std::string& member, const TAutoArgs& args)> Answer;
    std::function<void(const std::string& kind, const std::string& member, const Variant& value)> Put;
};

inline const std::vector<std::pair<String, std::vector<String>>>& FakeMemberNames()
{
    static const std::vector<std::pair<String, std::vector<String>>> names = {
        {L"Documents", {}}, {L"ActiveDocument", {}}, {L"Selection", {}}, {L"Quit", {}},
        {L"Open", {L"Source"}}, {L"Add", {L"Range", L"NumRows", L"NumColumns"}}, {L"Count", {}},
        {L"ShowSpellingErrors", {}}, {L"Paragraphs", {}}, {L"Bookmarks", {}}, {L"Range", {L"Start", L"End"}},
        {L"Goto", {L"What", L"Which", L"Count", L"Name"}}, {L"Tables", {}}, {L"SaveAs", {L"FileName"}},
        {L"TypeText", {L"Text"}}, {L"TypeParaGraph", {}}, {L"End", {}}, {L"Exists", {L"Name"}},
        {L"Cell", {L"Row", L"Column"}}, {L"InsertAfter", {L"Text"}}, {L"ParagraphFormat", {}}, {L"Alignment", {}},
        {L"ActiveConnection", {}}, {L"Fields", {}}, {L"Item", {L"Index"}}, {L"Name", {}}, {L"ActualSize", {}},
        {L"Value", {}}, {L"RecordCount", {}}, {L"Eof", {}}, {L"MoveNext", {}}, {L"Close", {}},
    };
    return names;
}

inline const TAutoMembers& TFake::Members() const
{
    static const TAutoMembers table = [] {
        auto b = TAutoMembers::For<TFake>();
        for (const auto& [name, params] : FakeMemberNames()) {
            std::string member = UTF8Encode(name);
            std::vector<String> ps = params;
            std::move(b).Property(
                name,
                [member, ps](TFake& f, const TAutoArgs& a) {
                    std::string args;
                    for (Integer i = 0; i < a.Count(); ++i) {
                        if (!a.Has(i)) continue;
                        std::string label = size_t(i) < ps.size() ? UTF8Encode(ps[size_t(i)]) + "=" : "";
                        args += (args.empty() ? "" : ",") + label + Show(a[i]);
                    }
                    f.World->Log.push_back(f.Kind + "." + member + "(" + args + ")");
                    return f.World->Answer ? f.World->Answer(f.Kind, member, a) : Variant();
                },
                [member](TFake& f, const TAutoArgs& a) {
                    f.World->Log.push_back(f.Kind + "." + member + "=" + Show(a.Value()));
                    if (f.World->Put) f.World->Put(f.Kind, member, a.Value());
                },
                ps);
        }
        return TAutoMembers(std::move(b));
    }();
    return table;
}

}  // namespace officefakes

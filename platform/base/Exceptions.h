// The exception classes the platform raises. Each carries a fixed message
// text; callers catch them by class.
#pragma once

#include <exception>
#include <string>

#include "platform/base/Types.h"

class Exception : public std::exception {
public:
    explicit Exception(const String& msg = String()) : FMessage(msg), FUtf8(UTF8Encode(msg)) {}
    const String& Message() const { return FMessage; }
    void SetMessage(const String& msg) { FMessage = msg; FUtf8 = UTF8Encode(msg); }
    const char* what() const noexcept override { return FUtf8.c_str(); }
    virtual String ClassName() const { return L"Exception"; }

private:
    String FMessage;
    std::string FUtf8;
};

#define VEL_DECLARE_EXCEPTION(Name, Base)                                   \
    class Name : public Base {                                              \
    public:                                                                 \
        using Base::Base;                                                   \
        String ClassName() const override { return L## #Name; }             \
    };

VEL_DECLARE_EXCEPTION(EAbort, Exception)
VEL_DECLARE_EXCEPTION(EConvertError, Exception)
VEL_DECLARE_EXCEPTION(EListError, Exception)
VEL_DECLARE_EXCEPTION(EStringListError, EListError)
VEL_DECLARE_EXCEPTION(EInOutError, Exception)
VEL_DECLARE_EXCEPTION(EInvalidCast, Exception)
VEL_DECLARE_EXCEPTION(EInvalidOperation, Exception)
VEL_DECLARE_EXCEPTION(EMathError, Exception)
VEL_DECLARE_EXCEPTION(EInvalidOp, EMathError)
VEL_DECLARE_EXCEPTION(EInvalidPointer, Exception)
VEL_DECLARE_EXCEPTION(EArgumentException, Exception)
VEL_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException)
VEL_DECLARE_EXCEPTION(ENotSupportedException, Exception)
VEL_DECLARE_EXCEPTION(EOSError, Exception)
VEL_DECLARE_EXCEPTION(EOutOfResources, Exception)
VEL_DECLARE_EXCEPTION(EStreamError, Exception)
VEL_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
VEL_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
VEL_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
VEL_DECLARE_EXCEPTION(EFilerError, EStreamError)
VEL_DECLARE_EXCEPTION(EResNotFound, Exception)
VEL_DECLARE_EXCEPTION(EReadError, EStreamError)
VEL_DECLARE_EXCEPTION(EWriteError, EStreamError)
VEL_DECLARE_EXCEPTION(EClassNotFound, EReadError)
VEL_DECLARE_EXCEPTION(EComponentError, Exception)
VEL_DECLARE_EXCEPTION(EIniFileException, Exception)
VEL_DECLARE_EXCEPTION(ERegistryException, Exception)
VEL_DECLARE_EXCEPTION(EThread, Exception)
VEL_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
VEL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
VEL_DECLARE_EXCEPTION(EPrinter, Exception)

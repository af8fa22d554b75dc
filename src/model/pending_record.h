#pragma once
// Classes that are registered (so that files naming them are recognised and
// the class hierarchy is complete) but whose records this build does not
// read or write yet. Reading or writing one is a clean stream failure.
#include "persist/archive.h"

#define MIREL_PENDING_RECORD(Name)                                                            \
    void Serialize(::mirel::Archive&) override                                                \
    {                                                                                         \
        throw ::mirel::ArchiveError(::mirel::ArchiveError::Kind::Unsupported,                \
                                    #Name " records are not supported by this version");      \
    }

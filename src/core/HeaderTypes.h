#pragma once

// The batch header's enumerations, shared by the whole program. Each is an
// unscoped enumeration inside a namespace of the property's name, so that a
// value reads EventType::Births and still compares and converts as the
// plain whole number the header, the settings file and the batch file hold.
// A value outside an enumeration is kept as given: the header's rules treat
// it as "none".

#include <QtGlobal>

namespace EventType {
enum Value : qint16 {
    None = 0,
    Births = 1,    // letter "B", header word "BIRTHS"
    Deaths = 2,    // "D", "DEATHS"
    Marriages = 3, // "M", "MARRIAGES"
};
} // namespace EventType

namespace Quarter {
// Written "Mar", "Jun", "Sep", "Dec".
enum Value : qint16 {
    None = 0,
    March = 1,
    June = 2,
    September = 3,
    December = 4,
};
} // namespace Quarter

namespace SourceType {
enum Value : qint16 {
    None = 0,
    Fiche = 1, // source tag "+F"
    Film = 2,  // "+M"
    Scan = 3,  // "+S"; a scan batch has no batch number
};
} // namespace SourceType

namespace VolumeNumberFormat {
enum Value : qint16 {
    None = 0,
    Vnf9z = 1, // a number followed by one letter
    Vnf99 = 2, // digits only
    Vnfxx = 3, // Roman numerals, "XX" in the batch file and the header form
};
} // namespace VolumeNumberFormat

// The header line kinds, the indexes of the head-line flags. Index 0 exists
// and is never set by the reader.
namespace HeadLines {
enum Value : qint16 {
    Info = 1,        // "+INFO"
    BatchLine = 2,   // "#" batch line
    CommentLine = 3, // "#" comment line
    SourceLine = 4,  // the source line
    PageLine = 5,    // "+PAGE"
};
} // namespace HeadLines

// Why the header form is (or is not) pending: the value of gHeaderReason.
namespace HeaderReason {
enum Value : int {
    NonePending = -1,
    NewBatch = 0,   // start of a new batch
    EditHeader = 1, // edit of the open batch's header
    FirstHeader = 2 // first header at start-up
};
} // namespace HeaderReason

// What the header form hands back to the main window (gHeaderResult and the
// form's HeaderFormFinished).
namespace HeaderResult {
enum Value : int {
    NoResult = 0,
    NewBatch = 1,     // a new header accepted
    HeaderEdited = 2, // the changed header of the open batch accepted
    Cancelled = 3,    // Cancel, or nothing changed
    OpenFile = 4,     // open a batch file instead (gHeaderOpenFile, or ask)
    ExitProgram = 5,  // Exit, or the form closed by the user or the system
};
} // namespace HeaderResult

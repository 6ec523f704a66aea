#pragma once
// Who made a temporary or recovery file: our maker record, kept as an extended attribute of
// the file. A leftover is removed only when its record proves that this program made it
// under the name it has now, and that the process which made it is gone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trimlet {

// The attribute that holds the record.
inline constexpr const char* kMakerAttribute = "user.trimlet.maker";

struct MakerRecord {
    enum class Kind : char { Temporary = 't', Recovery = 'r' };
    Kind kind = Kind::Temporary;
    std::string bootId;              // this boot of the system
    std::uint64_t pidNamespace = 0;  // the inode of the maker's PID namespace
    std::int64_t pid = 0;            // the maker, in that namespace
    std::uint64_t startTime = 0;     // when the maker started, in clock ticks since boot
    std::string targetName;          // the file it is for, in the same folder
    std::string ownName;             // the name it was given

    friend bool operator==(const MakerRecord&, const MakerRecord&) = default;
};

// A record naming this process as the maker.
MakerRecord OurMakerRecord(MakerRecord::Kind kind, std::string targetName, std::string ownName);

// The record as bytes, and back; nullopt for bytes that are no record of ours.
std::string FormatMakerRecord(const MakerRecord& record);
std::optional<MakerRecord> ParseMakerRecord(std::string_view bytes);

// Sets the record on an open file; false when the file system keeps no such attribute.
bool SetMakerRecord(int fd, const MakerRecord& record);
// The record of the file at `path` (a link not followed); nullopt without one.
// `unsupported` says whether the file system holds no such attributes at all.
std::optional<MakerRecord> ReadMakerRecord(const std::string& path, bool* unsupported = nullptr);

enum class MakerState {
    Alive,    // the maker still runs (it may be this process)
    Gone,     // same boot, same PID namespace, and no process with that PID and start time
    Unknown,  // another boot, namespace or machine: nothing can be proved
};
MakerState StateOfMaker(const MakerRecord& record);

}  // namespace trimlet

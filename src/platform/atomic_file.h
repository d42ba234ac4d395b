#pragma once
// Whole-file writes that never damage the existing file: the bytes go to a
// temporary file beside the target, are flushed to disk and then renamed over
// the target. A failed or interrupted write leaves the old file as it was.
#include <string>
#include <string_view>

namespace qm::platform {

// Result: 0 on success, otherwise an errno value. A target that exists but is
// not writable by us is refused with EACCES rather than replaced. The
// temporary file's name starts with ".qm-tmp-" and the target's permissions
// are kept (new files get 0666 & ~umask).
int WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file. Result: 0 on success, otherwise an errno value
// (ENOENT for a missing file). `maxBytes` bounds what is read (EFBIG beyond).
int ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes = 256u << 20);

}  // namespace qm::platform

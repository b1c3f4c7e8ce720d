#pragma once

#include <memory>

// Makes sure only one panel runs: a named mutex on Windows, a lock file in
// $XDG_RUNTIME_DIR on Linux (else in a folder of the user's own under the
// temporary folder, "vornlight-" and the user id). The claim lasts until the
// object is destroyed or the process ends; a lock left behind by a crashed
// panel does not block the next one.
class SingleInstance
{
public:
    // The name of the mutex, and of the lock file.
    static constexpr const char* Name = "5D2C81A4-7E3B-4C1F-9A60-2B8E4F17C3D9";

    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False only when another panel holds the claim. Any other failure lets
    // this panel run: an unusable lock directory must not keep it from
    // starting. A lock folder that another user could have planted is not
    // used; the panel says so on stderr and runs without the claim.
    bool Acquire();

private:
    struct Claim;
    std::unique_ptr<Claim> claim;
};

#pragma once

#include <string>
#include <utility>
#include <vector>

// Registers the service's program as the local server of the lighting
// service's class, found by its ProgID, and its type library, which marshals
// the interface. What the server is to serve (its settings: the documents,
// the journal, a failure to answer) is kept beside the class, since COM
// starts the server with no arguments of ours (and reads at most MAX_PATH
// characters of its command line).
namespace ComServerRegistration {

// Option name and value pairs ("capability", "Z:\\data\\capability.xml").
using Settings = std::vector<std::pair<std::wstring, std::wstring>>;

// program: the server's full path. False with the reason in error when the
// registry or the type library refuses.
bool Register(const std::wstring& program, const Settings& settings, std::string& error);
// Removes whatever Register wrote; what is absent already is no error.
bool Unregister(const std::wstring& program, std::string& error);
// The settings the last registration kept; empty when there is none.
Settings Stored();

} // namespace ComServerRegistration

#include "simulator/FixedDocumentService.h"

#include "simulator/ProfileDocument.h"

FixedDocumentService::FixedDocumentService(std::string capability, std::string status)
    : capability(std::move(capability)), status(std::move(status))
{
}

LightingService::Outcome FixedDocumentService::SetProfile(const std::string&, const std::string& document,
                                                          std::string& fault)
{
    ProfileDocument profile;
    return ProfileDocument::Parse(document, profile, fault) ? Outcome::Applied : Outcome::Refused;
}

#include "simulator/core/FixedDocumentService.h"

#include "simulator/core/ProfileDocument.h"

FixedDocumentService::FixedDocumentService(std::string capability, std::string status)
    : capability(std::move(capability)), status(std::move(status)),
      layout(RigLayout::FromCapability(this->capability))
{
}

LightingService::Outcome FixedDocumentService::SetProfile(const std::string& key, const std::string& document,
                                                          std::string& fault)
{
    ProfileDocument profile;
    return ProfileDocument::Parse(key, document, layout, profile, fault) ? Outcome::Applied : Outcome::Refused;
}

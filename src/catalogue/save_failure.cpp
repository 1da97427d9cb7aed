#include "catalogue/save_failure.h"

namespace tov {

namespace {

constexpr const char* kBalloonTitle = "Tovlen";
constexpr const char* kUnknownFailure = "the system gave no reason";

} // namespace

std::string SaveFailureText(const std::string& fileName, const std::string& failure) {
    return std::string(kBalloonTitle) + " could not save " + fileName + ": " +
           (failure.empty() ? kUnknownFailure : failure) + ".";
}

void ReportSaveFailure(Platform& platform, SaveFailures& failures, const std::string& fileName,
                       const std::string& failure) {
    const std::string text = SaveFailureText(fileName, failure);
    platform.Log(text);
    if (failures.told.insert(fileName).second)
        platform.ShowTrayBalloon(kBalloonTitle, text, BalloonIcon::Warning);
}

} // namespace tov

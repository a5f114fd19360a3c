#include "app/json/JsonVerdicts.h"

#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

std::string ReadWord(FileReadStatus status) {
    switch (status) {
    case FileReadStatus::Read: return "read";
    case FileReadStatus::Missing: return "missing";
    case FileReadStatus::HeldOpen: return "heldOpen";
    case FileReadStatus::TooLarge: return "tooLarge";
    case FileReadStatus::Failed: return "failed";
    }
    return "failed";
}

std::string IntegrityWord(FileIntegrity integrity) {
    switch (integrity) {
    case FileIntegrity::Unsigned: return "unsigned";
    case FileIntegrity::Intact: return "intact";
    case FileIntegrity::Damaged: return "damaged";
    case FileIntegrity::Unchecked: return "unchecked";
    }
    return "unchecked";
}

std::string RefusalWord(TrustRefusal refusal) {
    switch (refusal) {
    case TrustRefusal::NotAllowedByDb: return "notAllowedByDb";
    case TrustRefusal::CertificateInDbx: return "certificateInDbx";
    case TrustRefusal::FileHashInDbx: return "fileHashInDbx";
    case TrustRefusal::DigestMismatch: return "digestMismatch";
    case TrustRefusal::SignatureInvalid: return "signatureInvalid";
    case TrustRefusal::MalformedCertificateTable: return "malformedCertificateTable";
    }
    return "notAllowedByDb";
}

// "allowed", "refused", or "notJudged" when Secure Boot is off or its databases couldn't be read.
std::string VerdictWord(const BootManagerFile& file) {
    if (!file.trust) return "notJudged";
    return file.refused() ? "refused" : "allowed";
}

JsonValue FileJson(const BootManagerFile& file, const char* stage, const char* role) {
    JsonValue json;
    json.set("stage", stage).set("role", role).set("path", file.path);
    json.set("read", ReadWord(file.status)).set("readError", file.error).set("image", file.isImage);
    json.set("integrity", file.isImage ? JsonValue(IntegrityWord(file.integrity)) : JsonValue());
    json.set("verdict", VerdictWord(file));
    JsonValue refusals = JsonArray{}, signers = JsonArray{}, allowedBy = JsonArray{};
    if (file.trust) {
        for (const TrustRefusal refusal : file.trust->refusals) refusals.push(RefusalWord(refusal));
        for (const SignatureVerdict& signature : file.trust->signatures) {
            if (!signature.counted) continue;
            signers.push(signature.signer);
            for (const std::string& ca : signature.allowedBy) allowedBy.push(ca);
        }
    }
    json.set("refusals", refusals).set("signers", signers).set("allowedBy", allowedBy);
    const Digest sha256 = file.authenticodeSha256();
    return json.set("sha256", sha256.empty() ? JsonValue() : JsonValue(HexText(sha256)));
}

} // namespace

JsonValue SecureBootVerdictsJson(const std::optional<UefiBootFiles>& before, const std::optional<UefiStartCheck>& after) {
    JsonValue verdicts = JsonArray{};
    if (before) {
        for (const InstallationBootFiles& files : before->installations) {
            JsonValue standard = FileJson(files.standard, "beforeRun", "standard");
            verdicts.push(standard.set("installation", files.installation).set("copied", !files.bootex));
            if (files.ex.status == FileReadStatus::Missing) continue;
            JsonValue ex = FileJson(files.ex, "beforeRun", "ex");
            verdicts.push(ex.set("installation", files.installation).set("copied", files.bootex));
        }
    }
    if (after) {
        verdicts.push(FileJson(after->bootManager, "afterRun", "bootManager"));
        if (after->fallback.status != FileReadStatus::Missing) verdicts.push(FileJson(after->fallback, "afterRun", "fallback"));
    }
    return verdicts;
}

} // namespace orvanta

#pragma once

// The configuration editor: behind a fixed access code, three groups of
// prompts that edit the settings row (representative code, mail, FTP), and
// the user's keyboard preference.
// Errors reach the caller.
void ExecutarConfiguracao();

// The access code: two upper-case letters, matched exactly.
inline constexpr const char *kCodigoAcessoConfiguracao = "CR";

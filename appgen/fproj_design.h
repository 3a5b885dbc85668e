#pragma once

#include "platform/components/forms.h"

// The template main form: class TFproj, object Fproj, with the main menu MMain (Arquivos1 holding
// Sair1) and Label1, read from its stored design. Owned by `owner` when given.
TCustomForm* create_fproj_form(TComponent* owner);

#pragma once

#include "platform/components/forms.h"

// The scratch form every maintenance form starts from: class TResultForm, object ResultForm, with
// Panel1 (holding DBNavigator1), ScrollBox1, DataSource1 and Table1, read from its stored design (so
// naming rules for run-time creation did not touch it). Owned by `owner` when given.
TCustomForm* create_result_form(TComponent* owner);

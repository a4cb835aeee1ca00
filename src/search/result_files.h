#pragma once

class Form;

namespace search {

// Command16: swaps the verified results for the delivered default set
// ("缺省") or brings them back ("恢复"), then reloads the lists.
void ResultSetToggle(Form& f);
// tv_lib_ss_jg_xx.txt back over tv_lib_ss_jg.txt.
void RestoreResults(Form& f);
// tv_lib_ss_jg.txt into tv_lib_ss_jg_xx.txt, then tv_lib_ss_jg_y.txt over
// tv_lib_ss_jg.txt.
void DefaultResults(Form& f);

}  // namespace search

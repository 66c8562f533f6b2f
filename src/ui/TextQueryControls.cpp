#include "ui/TextQueryControls.h"

namespace tessera {

std::vector<ControlSpec> TextQueryControls::Specs(ControlId group) const {
    return {
        {pattern, ControlKind::Edit, "Find what:", group},
        {regExp, ControlKind::CheckBox, "Use regular expressions (Perl-compatible)", group},
        {wholeWords, ControlKind::CheckBox, "Match whole words only", group},
        {matchCase, ControlKind::CheckBox, "Match case", group},
    };
}

void TextQueryControls::Show(DialogView& view, const TextQuery& query) const {
    view.SetText(pattern, query.Pattern);
    view.SetChecked(regExp, query.UseRegExp);
    view.SetChecked(wholeWords, query.WholeWords);
    view.SetChecked(matchCase, query.MatchCase);
}

void TextQueryControls::Read(const DialogView& view, TextQuery& query) const {
    query.Pattern = view.Text(pattern);
    query.UseRegExp = view.Checked(regExp);
    query.WholeWords = view.Checked(wholeWords);
    query.MatchCase = view.Checked(matchCase);
}

}  // namespace tessera

#pragma once

#include <QString>

// Whether the folder's access control list lets this program make files in it, with the rights it
// runs with: an administrator's programs run without the administrators' rights, so the folders
// under Program Files are not theirs to write, which the read-only flag the toolkit looks at does
// not tell.
bool rightsAllowWriting(const QString& folder);

// The place-and-route list of a unit that takes another name or library.
#pragma once

class ImodelContextImpl;

// `to` took the data of `from` (ImodelContextImpl::DuplicateContextInfo).
// When they are units of different names or libraries, the database each
// view of `to` uses may not be the one `from` used (a database derived from
// another unit gives way to a numbered one): the place-and-route list,
// kept in the description beside the database, then goes over as the
// unit's other lists do. In each view, the files the old description lists
// after what the database is built from (its netlist and sources), in their
// order, and its optional files with their flags, take the place of those
// of the new one; the new database keeps its own netlist and what the tool
// noted of its runs. Nothing for units of the same name and library, for a
// view whose old database has no readable description of this project, or
// for a new description that the user made read-only.
void imodelCarryLayoutLists(const ImodelContextImpl& from, const ImodelContextImpl& to);

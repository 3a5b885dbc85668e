{ Stand-in for the target library's unit DbiProcs, an alias of the database engine's interface unit
  BDE (the target's default unit aliases map it there). Generated units name it but call nothing of
  it. }
unit DbiProcs;

{$mode delphi}

interface

implementation

end.
